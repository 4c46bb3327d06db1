// Preloaded into the game by a benchmark: keeps the live heap blocks of 16 KiB or more with the callers that
// made them. On SIGUSR1 it writes them to the file TORVI_HEAP_CENSUS names, one block a line:
// "size module+offset module+offset ...", innermost caller first. Its own table is under 1 MiB.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <execinfo.h>
#include <pthread.h>
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#define SLOTS 8192
#define DEPTH 8
#define SMALLEST (16 * 1024)
#define GONE ((void*)1)

struct Block
{
    void* at;
    size_t size;
    int depth;
    void* callers[DEPTH];
};

static struct Block g_blocks[SLOTS];
static pthread_mutex_t g_lock = PTHREAD_MUTEX_INITIALIZER;
static __thread int g_inside;

static void* (*g_malloc)(size_t);
static void* (*g_calloc)(size_t, size_t);
static void* (*g_realloc)(void*, size_t);
static void (*g_free)(void*);
static int (*g_posix_memalign)(void**, size_t, size_t);

// dlsym may allocate before the real functions are known: those few bytes come from here and are never freed.
static char g_early[16384];
static size_t g_early_used;
static int g_finding;

static void FindRealFunctions(void)
{
    if (g_malloc || g_finding)
        return;
    g_finding = 1;
    g_malloc = dlsym(RTLD_NEXT, "malloc");
    g_calloc = dlsym(RTLD_NEXT, "calloc");
    g_realloc = dlsym(RTLD_NEXT, "realloc");
    g_free = dlsym(RTLD_NEXT, "free");
    g_posix_memalign = dlsym(RTLD_NEXT, "posix_memalign");
    g_finding = 0;
}

static void* EarlyBlock(size_t size)
{
    size = (size + 15) & ~(size_t)15;
    if (g_early_used + size > sizeof g_early)
        return NULL;
    void* block = g_early + g_early_used;
    g_early_used += size;
    return block;
}

static int IsEarly(void* block)
{
    return (char*)block >= g_early && (char*)block < g_early + sizeof g_early;
}

static size_t SlotOf(void* block)
{
    return (size_t)(((uintptr_t)block >> 4) * 2654435761u % SLOTS);
}

static void Keep(void* block, size_t size)
{
    if (!block || size < SMALLEST || g_inside)
        return;
    g_inside = 1;
    void* callers[DEPTH + 2];
    int depth = backtrace(callers, DEPTH + 2) - 2;
    pthread_mutex_lock(&g_lock);
    for (size_t tries = 0, slot = SlotOf(block); tries < SLOTS; tries++, slot = (slot + 1) % SLOTS) {
        if (g_blocks[slot].at && g_blocks[slot].at != GONE)
            continue;
        g_blocks[slot].at = block;
        g_blocks[slot].size = size;
        g_blocks[slot].depth = depth > 0 ? depth : 0;
        memcpy(g_blocks[slot].callers, callers + 2, sizeof(void*) * (size_t)g_blocks[slot].depth);
        break;
    }
    pthread_mutex_unlock(&g_lock);
    g_inside = 0;
}

static void Forget(void* block)
{
    if (!block)
        return;
    pthread_mutex_lock(&g_lock);
    for (size_t tries = 0, slot = SlotOf(block); tries < SLOTS && g_blocks[slot].at; tries++, slot = (slot + 1) % SLOTS) {
        if (g_blocks[slot].at == block) {
            g_blocks[slot].at = GONE;
            break;
        }
    }
    pthread_mutex_unlock(&g_lock);
}

void* malloc(size_t size)
{
    FindRealFunctions();
    if (!g_malloc)
        return EarlyBlock(size);
    void* block = g_malloc(size);
    Keep(block, size);
    return block;
}

void* calloc(size_t count, size_t size)
{
    FindRealFunctions();
    if (!g_calloc)
        return EarlyBlock(count * size);
    void* block = g_calloc(count, size);
    Keep(block, count * size);
    return block;
}

void* realloc(void* old, size_t size)
{
    FindRealFunctions();
    Forget(old);
    void* block = g_realloc(old, size);
    Keep(block, size);
    return block;
}

void free(void* block)
{
    if (IsEarly(block))
        return;
    FindRealFunctions();
    Forget(block);
    g_free(block);
}

int posix_memalign(void** out, size_t alignment, size_t size)
{
    FindRealFunctions();
    int result = g_posix_memalign(out, alignment, size);
    if (result == 0)
        Keep(*out, size);
    return result;
}

void* aligned_alloc(size_t alignment, size_t size)
{
    void* block = NULL;
    return posix_memalign(&block, alignment, size) == 0 ? block : NULL;
}

void* memalign(size_t alignment, size_t size)
{
    return aligned_alloc(alignment, size);
}

static void WriteCensus(int signal_number)
{
    (void)signal_number;
    // Written aside and renamed, so that a reader never sees half of it.
    const char* path = getenv("TORVI_HEAP_CENSUS");
    char part[4096];
    if (!path || snprintf(part, sizeof part, "%s.part", path) >= (int)sizeof part)
        return;
    FILE* out = fopen(part, "w");
    if (!out)
        return;
    g_inside = 1;
    for (size_t slot = 0; slot < SLOTS; slot++) {
        const struct Block* block = &g_blocks[slot];
        if (!block->at || block->at == GONE)
            continue;
        fprintf(out, "%zu", block->size);
        for (int i = 0; i < block->depth; i++) {
            Dl_info info;
            if (dladdr(block->callers[i], &info) && info.dli_fname)
                fprintf(out, " %s+0x%lx", info.dli_fname,
                        (unsigned long)((char*)block->callers[i] - (char*)info.dli_fbase));
        }
        fputc('\n', out);
    }
    fclose(out);
    rename(part, path);
    g_inside = 0;
}

__attribute__((constructor)) static void Start(void)
{
    FindRealFunctions();
    // backtrace loads its unwinder on first use; that must not happen inside an allocation.
    void* warm[2];
    backtrace(warm, 2);
    signal(SIGUSR1, WriteCensus);
}
