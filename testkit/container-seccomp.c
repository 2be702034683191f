/* container-seccomp COMMAND [ARG...]
   Runs COMMAND, and all it starts, under a seccomp filter like the default
   profile of container engines: personality(2) is allowed only for 0, 8,
   0x20000, 0x20008 and 0xffffffff (the query); any other persona, such as
   ADDR_NO_RANDOMIZE, fails with EPERM.  Every other call is allowed. */
#include <errno.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <stddef.h>
#include <stdio.h>
#include <string.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <unistd.h>

#define ALLOW_IF(value) BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, (value), 0, 1), BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW)

int main(int argc, char **argv)
{
    if (argc < 2) {
        fprintf(stderr, "usage: container-seccomp COMMAND [ARG...]\n");
        return 2;
    }
    struct sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_X86_64, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_personality, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, args[0])),  /* the low half */
        ALLOW_IF(0x0),
        ALLOW_IF(0x8),
        ALLOW_IF(0x20000),
        ALLOW_IF(0x20008),
        ALLOW_IF(0xffffffff),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EPERM),
    };
    struct sock_fprog program = {sizeof filter / sizeof filter[0], filter};
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0) {
        fprintf(stderr, "container-seccomp: PR_SET_NO_NEW_PRIVS: %s\n", strerror(errno));
        return 125;
    }
    if (prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) != 0) {
        fprintf(stderr, "container-seccomp: PR_SET_SECCOMP: %s\n", strerror(errno));
        return 125;
    }
    execvp(argv[1], argv + 1);
    fprintf(stderr, "container-seccomp: %s: %s\n", argv[1], strerror(errno));
    return 127;
}
