// The start of a trivial process, for comparison with a short run.
int main() {
    return 0;
}
