/* For libraries preloaded into Wine's loader (wine-layout.c, heap-over-page.c):
   telling the loader's process from others, and running the loader again in
   the same process with a count of its new starts kept in the environment. */
#ifndef TESTKIT_WINE_LOADER_H
#define TESTKIT_WINE_LOADER_H

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static const char wine_loader[] = "/usr/lib/wine/wine64";

static int is_wine_loader(void)
{
    char exe[sizeof wine_loader + 1];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe);
    return n == (ssize_t)sizeof wine_loader - 1 && memcmp(exe, wine_loader, sizeof wine_loader - 1) == 0;
}

/* The new starts counted in the variable `name` so far; 0 when unset. */
static int loader_starts(const char *name)
{
    const char *counted = getenv(name);
    return counted ? atoi(counted) : 0;
}

/* Counts one more start in `name` and runs the loader again; returns only
   when exec failed. */
static void start_loader_again(const char *name, int starts, char **argv)
{
    char count[16];
    snprintf(count, sizeof count, "%d", starts + 1);
    setenv(name, count, 1);
    execv("/proc/self/exe", argv);
}

#endif
