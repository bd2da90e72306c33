#include "converter/orvik_main.h"

#include <cstring>
#include <string>

#include "converter/bin_to_hex.h"
#include "converter/hex_to_bin.h"

namespace {

constexpr int wrongArgumentCountExit = -1;
constexpr int flagErrorExit = 3;

struct ArgumentLimit {
    const char* name;
    std::size_t maxChars;
};

// The four arguments in command-line order with the longest text each may be.
constexpr ArgumentLimit argumentLimits[] = {
    {"flag", 7},
    {"input_file", 255},
    {"output_file", 255},
    {"ROM_size", 7},
};

constexpr int argumentCount = 4;

void PrintBanner(std::ostream& console)
{
    console << "orvik Ver1.0.3 Binary data <-> Intel Hex data Converter.\n"
            << "Portable edition for Windows and Linux, written in standard C++17.\n";
}

void PrintUsage(std::ostream& console)
{
    console << "Parameter Error!\n\nUsage: orvik flag input_file output_file ROM_size\n\n"
            << "  flag: -h Convert to Intel Hex data.\n        -b Convert to Binary data.\n\n"
               "  ROM_size: 16k,32k,64k,128k,256k,512k,1024k\n\nTry again!\n";
}

// An argument over its limit would not fit the program's fixed fields; it is
// refused as a whole rather than cut, since a cut file name or flag would make
// the program act on something the user did not ask for.
bool ArgumentsFit(const char* const* arguments, std::ostream& console)
{
    for (int i = 0; i < argumentCount; ++i) {
        const ArgumentLimit& limit = argumentLimits[i];
        if (std::strlen(arguments[i]) > limit.maxChars) {
            console << "Parameter too long: " << limit.name << " may have at most "
                    << limit.maxChars << " characters.\n";
            return false;
        }
    }
    return true;
}

// Only the second character of the flag is folded to lower case, so "-H" and
// "-B" are accepted while the first character must be typed as it is.
std::string FoldFlag(const char* typed)
{
    std::string flag = typed;
    if (flag.size() >= 2 && flag[1] >= 'A' && flag[1] <= 'Z') {
        flag[1] = static_cast<char>(flag[1] - 'A' + 'a');
    }
    return flag;
}

int Dispatch(const char* const* arguments, std::ostream& console)
{
    const std::string flag = FoldFlag(arguments[0]);
    if (flag == "-h") {
        console << "Making Intel Hex file.\n";
        return ConvertBinToHex(arguments[1], arguments[2], arguments[3], console);
    }
    if (flag == "-b") {
        console << "Making Binary file.\n";
        return ConvertHexToBin(arguments[1], arguments[2], arguments[3], console);
    }
    console << "Flag Error!\n";
    return flagErrorExit;
}

int RunChecked(const char* const* arguments, std::ostream& console)
{
    if (!ArgumentsFit(arguments, console)) {
        return argumentTooLongExit;
    }
    console << "Convert flag " << arguments[0] << "\nInput file " << arguments[1]
            << "\nOutput file " << arguments[2] << "\n\n";
    return Dispatch(arguments, console);
}

}  // namespace

int RunOrvik(int argc, const char* const* argv, std::ostream& console)
{
    PrintBanner(console);
    if (argc != argumentCount + 1) {
        PrintUsage(console);
        console.flush();
        return wrongArgumentCountExit;
    }
    const int result = RunChecked(argv + 1, console);
    console << "Finished!\n";
    console.flush();
    return result;
}
