/* heap-over-page.so, for a test of wine-layout.so: preloaded after it (so
   that it runs first), it grows the heap of Wine's loader over 0x7ffe0000
   before Wine runs, as a heap that the kernel started just below that page
   does once it grows.  Where the heap starts above the page (a randomized
   address space: here nineteen times in twenty), it first runs the loader
   again until it starts below; after 300 starts it gives up.  It says on
   stderr what it did.  It acts once in a process tree, where Wine itself starts (its
   loader runs itself again with WINELOADERNOEXEC set), and leaves
   HEAP_OVER_PAGE set in the environment then. */
#define _GNU_SOURCE
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

__attribute__((constructor)) static void grow_over_page(int argc, char **argv)
{
    static const unsigned long past_page = 0x7ffe1000;
    static const char tries_name[] = "HEAP_OVER_PAGE_TRIES";
    (void)argc;
    char exe[32] = "";
    if (readlink("/proc/self/exe", exe, sizeof exe - 1) < 0 || strcmp(exe, "/usr/lib/wine/wine64") != 0)
        return;
    if (!getenv("WINELOADERNOEXEC") || getenv("HEAP_OVER_PAGE"))
        return;
    const unsigned long end = (unsigned long)sbrk(0);  /* still where the heap starts */
    if (end >= past_page - 0x1000) {
        const char *counted = getenv(tries_name);
        const int tries = counted ? atoi(counted) : 0;
        if (tries >= 300) {
            fprintf(stderr, "heap-over-page: the heap started above %#lx %d times\n", past_page, tries);
            return;
        }
        char count[16];
        snprintf(count, sizeof count, "%d", tries + 1);
        setenv(tries_name, count, 1);
        execv("/proc/self/exe", argv);
        perror("heap-over-page: execv /proc/self/exe");
        return;
    }
    setenv("HEAP_OVER_PAGE", "1", 1);  /* may take heap itself */
    const unsigned long now = (unsigned long)sbrk(0);
    if (now < past_page && sbrk((intptr_t)(past_page - now)) == (void *)-1) {
        perror("heap-over-page: sbrk");
        return;
    }
    /* Told without stdio, which would grow the heap further. */
    char told[96];
    const int n = snprintf(told, sizeof told, "heap-over-page: heap at %#lx grown to %#lx\n", end, (unsigned long)sbrk(0));
    (void)!write(2, told, (size_t)n);
}
