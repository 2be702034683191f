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
#include "wine-loader.h"

__attribute__((constructor)) static void grow_over_page(int argc, char **argv)
{
    static const unsigned long past_page = 0x7ffe1000;
    static const char tries_name[] = "HEAP_OVER_PAGE_TRIES";
    (void)argc;
    if (!is_wine_loader() || !getenv("WINELOADERNOEXEC") || getenv("HEAP_OVER_PAGE"))
        return;
    const unsigned long start = (unsigned long)sbrk(0);  /* nothing allocated yet */
    if (start >= past_page - 0x1000) {
        const int tries = loader_starts(tries_name);
        if (tries >= 300) {
            fprintf(stderr, "heap-over-page: the heap started above %#lx %d times\n", past_page, tries);
            return;
        }
        start_loader_again(tries_name, tries, argv);
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
    const int n = snprintf(told, sizeof told, "heap-over-page: heap at %#lx grown to %#lx\n", start, (unsigned long)sbrk(0));
    (void)!write(2, told, (size_t)n);
}
