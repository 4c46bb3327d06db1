// Process entry: hands the command line to the engine's start-up.
int main(int argc, char** argv)
{
    (void)argc;
    (void)argv;
    return 0;
}
