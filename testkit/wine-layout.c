/* Preloaded into every process where the address space cannot be left
   unrandomized (testkit/wine-layout.sh); it acts only in Wine's loader.

   Wine maps Windows' shared user data at 0x7ffe0000 once its own code runs.
   Debian's loader is linked at 0x7d000000 and the kernel starts its heap
   anywhere up to 1 GB past it: a heap that starts just below that page grows
   over it first, and the process ends at start-up ("failed to map the shared
   user data").  Before Wine runs any code, this looks where the heap starts
   and ends; when the page is within its reach, it runs the loader again in
   the same process, with the same arguments, and exec lays the address space
   out anew.  Each new start is logged (a line in $WINE_LAYOUT_LOG, when set); after
   eight the loader goes on as it is and Wine reports the failure itself. */
#define _GNU_SOURCE
#include <fcntl.h>

#include "wine-loader.h"

static const unsigned long shared_page = 0x7ffe0000;
/* Far more than the heap grows before Wine has mapped the page. */
static const unsigned long heap_reach = 16ul << 20;
static const char tries_name[] = "WINE_LAYOUT_TRIES";
enum { max_tries = 8 };

/* Where this process's heap starts (start_brk, field 47 of /proc/self/stat);
   0 when it can't be read.  No allocation: the heap is what is looked at. */
static unsigned long heap_start(void)
{
    char stat[2048];
    int fd = open("/proc/self/stat", O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    ssize_t n = read(fd, stat, sizeof stat - 1);
    close(fd);
    if (n <= 0)
        return 0;
    stat[n] = '\0';
    const char *field = strrchr(stat, ')');  /* the command name may hold spaces */
    if (!field)
        return 0;
    for (int i = 2; i < 47 && field; i++)
        field = strchr(field + 1, ' ');
    return field ? strtoul(field + 1, NULL, 10) : 0;
}

static void log_start(unsigned long start, unsigned long end, int tries)
{
    const char *path = getenv("WINE_LAYOUT_LOG");
    if (!path)
        return;
    int fd = open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return;
    dprintf(fd, "pid %d: heap at %#lx-%#lx, within reach of %#lx; loader started again (%d of %d)\n", getpid(), start,
            end, shared_page, tries, max_tries);
    close(fd);
}

__attribute__((constructor)) static void keep_shared_page_free(int argc, char **argv, char **envp)
{
    (void)argc;
    (void)envp;
    if (!is_wine_loader())
        return;
    const int tries = loader_starts(tries_name);
    const unsigned long start = heap_start();
    const unsigned long end = (unsigned long)sbrk(0);
    if (start == 0 || start > shared_page || (end > start ? end : start) + heap_reach <= shared_page) {
        unsetenv(tries_name);  /* Wine's own processes start counting afresh */
        return;
    }
    if (tries >= max_tries) {
        dprintf(2, "wine-layout: the heap was within reach of %#lx at %d starts; going on\n", shared_page, tries);
        unsetenv(tries_name);
        return;
    }
    log_start(start, end, tries + 1);
    start_loader_again(tries_name, tries, argv);
    dprintf(2, "wine-layout: could not start %s again; going on\n", wine_loader);
    unsetenv(tries_name);
}
