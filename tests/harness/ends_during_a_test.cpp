// A program that ends in the middle of a test with the exit status it is given, as a test program
// that crashes or calls exit() would: the Wine wrapper's failure report is checked against it.
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    std::printf("[ RUN      ] Harness.FirstTest\n[       OK ] Harness.FirstTest (0 ms)\n");
    std::printf("[ RUN      ] Harness.EndsHere\n");
    std::fprintf(stderr, "the program's last words\n");
    std::fflush(nullptr);
    return argc > 1 ? std::atoi(argv[1]) : 3;
}
