// Writes j.tc (type J, 0..1100 degrees C) and k.tc (type K, -200..1370 degrees C)
// into the folder given on the command line.
#include <cstdio>
#include <fstream>
#include <string>

#include "tools/tcgen/ReferenceFunctions.h"
#include "tools/tcgen/TableWriter.h"

namespace {

bool WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::fprintf(stderr, "vantrel-tcgen: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vantrel-tcgen OUTPUT_DIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    using namespace vantrel::tcgen;
    const bool ok = WriteFile(dir + "/j.tc", TableText(TypeJMillivolts, 0, 1100)) &&
                    WriteFile(dir + "/k.tc", TableText(TypeKMillivolts, -200, 1370));
    return ok ? 0 : 1;
}
