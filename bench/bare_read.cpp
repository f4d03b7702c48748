// The floor a run is measured against: one pass over a file of daily values
// that reads each line and converts it to a float, nothing else.
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    std::FILE* file = std::fopen(argv[1], "r");
    if (file == nullptr) return 1;
    char line[256];
    float sum = 0.0F;
    long count = 0;
    while (std::fgets(line, sizeof line, file) != nullptr) {
        sum += std::strtof(line, nullptr);
        ++count;
    }
    std::fclose(file);
    std::printf("%ld %g\n", count, static_cast<double>(sum));
    return 0;
}
