// A stand-in program for the launcher's tests on every platform: it writes
// its arguments, each followed by a zero byte, into "argv.record" in its
// current directory. The file appears complete at once (written beside it,
// then renamed).

#include <filesystem>
#include <fstream>
#include <system_error>

int main(int argc, char* argv[])
{
    {
        std::ofstream out("argv.record.part", std::ios::binary);
        for (int i = 0; i < argc; ++i)
            out << argv[i] << '\0';
        if (!out)
            return 1;
    }
    std::error_code error;
    std::filesystem::rename("argv.record.part", "argv.record", error);
    return error ? 1 : 0;
}
