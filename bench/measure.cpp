// Runs a command a number of times and prints its median wall time and its
// peak resident memory, measured on the command's own process (wait4).
//
//   measure REPEAT STDIN_FILE WORKDIR COMMAND [ARGS...]
//   -> "median_ms=1.234 peak_kb=3760"
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: measure REPEAT STDIN_FILE WORKDIR COMMAND [ARGS...]\n");
        return 2;
    }
    const int repeat = std::atoi(argv[1]);
    std::vector<double> times;
    long peak_kb = 0;
    for (int i = 0; i < repeat; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = fork();
        if (child == 0) {
            const int in = open(argv[2], O_RDONLY);
            const int out = open("/dev/null", O_WRONLY);
            if (in < 0 || out < 0 || chdir(argv[3]) != 0) _exit(127);
            dup2(in, 0);
            dup2(out, 1);
            execv(argv[4], argv + 4);
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        wait4(child, &status, 0, &usage);
        const auto end = std::chrono::steady_clock::now();
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "measure: %s failed\n", argv[4]);
            return 1;
        }
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        peak_kb = std::max(peak_kb, usage.ru_maxrss);
    }
    std::sort(times.begin(), times.end());
    std::printf("median_ms=%.3f peak_kb=%ld\n", times[times.size() / 2], peak_kb);
    return 0;
}
