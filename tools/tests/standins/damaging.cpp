// Stand-in for a companion program that leaves a cut-off answer: the
// parameter file shortened to 100 bytes, with a normal exit.

#include <filesystem>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 1;
    std::error_code error;
    std::filesystem::resize_file(argv[1], 100, error);
    return error ? 1 : 0;
}
