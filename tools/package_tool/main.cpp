// The build's packaging tool, run on the build machine (Debian has no tool that writes app
// packages):
//   package_tool swatch RRGGBB OUT.ico       a colour's swatch icon for the shell extension
//   package_tool logo APP.ico SIZE OUT.png   one of the package's logos
//   package_tool pack FOLDER OUT.msix        the package of the folder's files
#include <cstdio>
#include <exception>
#include <string>

#include "bytes.h"
#include "images.h"
#include "package_writer.h"

int main(int argc, char** argv) {
    using namespace package_tool;
    const std::string verb = argc > 1 ? argv[1] : "";
    try {
        if (verb == "swatch" && argc == 4)
            WriteFile(argv[3], SwatchIcon(std::stoul(argv[2], nullptr, 16)));
        else if (verb == "logo" && argc == 5)
            WriteFile(argv[4], PngFromIcon(ReadFile(argv[2]), std::stoi(argv[3])));
        else if (verb == "pack" && argc == 4)
            PackFolder(argv[2], argv[3]);
        else {
            std::fputs(
                "usage: package_tool swatch RRGGBB OUT.ico | logo APP.ico SIZE OUT.png | "
                "pack FOLDER OUT.msix\n",
                stderr);
            return 2;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "package_tool: %s\n", e.what());
        return 1;
    }
    return 0;
}
