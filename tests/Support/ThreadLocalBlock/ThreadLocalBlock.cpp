// A library of its own with a thread-local variable, loaded at run time as the GL driver's libraries are: glibc
// gives each thread its block from malloc at the first touch.

thread_local long thread_local_block_value;

extern "C" long* ThreadLocalBlockTouch()
{
    return &thread_local_block_value;
}
