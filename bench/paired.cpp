// Paired wall times of two commands on the same input: A and B run one
// after the other, REPEAT times, so that both meet the same state of a
// shared machine.  Prints both medians and the median of the pairs' ratios.
//
//   paired REPEAT STDIN_FILE WORKDIR A... -- B...
//   -> "a_ms=3.10 b_ms=2.51 ratio=1.23"
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

double run_once(char** command, const char* input, const char* folder) {
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        const int in = open(input, O_RDONLY);
        const int out = open("/dev/null", O_WRONLY);
        if (in < 0 || out < 0 || chdir(folder) != 0) _exit(127);
        dup2(in, 0);
        dup2(out, 1);
        execv(command[0], command);
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "paired: %s ended with status %d\n", command[0], status);
        std::exit(1);
    }
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    int split = 4;
    while (split < argc && std::strcmp(argv[split], "--") != 0) ++split;
    if (argc < 7 || split >= argc - 1 || split == 4) {
        std::fprintf(stderr, "usage: paired REPEAT STDIN_FILE WORKDIR A... -- B...\n");
        return 2;
    }
    argv[split] = nullptr;
    char** a = argv + 4;
    char** b = argv + split + 1;
    const int repeat = std::atoi(argv[1]);
    std::vector<double> a_times, b_times, ratios;
    run_once(a, argv[2], argv[3]);  // warm the page cache for both
    run_once(b, argv[2], argv[3]);
    for (int i = 0; i < repeat; ++i) {
        a_times.push_back(run_once(a, argv[2], argv[3]));
        b_times.push_back(run_once(b, argv[2], argv[3]));
        ratios.push_back(a_times.back() / b_times.back());
    }
    std::printf("a_ms=%.3f b_ms=%.3f ratio=%.3f\n", median(a_times), median(b_times), median(ratios));
    return 0;
}
