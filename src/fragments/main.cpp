// Writes the documents whose parts come from the session's tables (Fragments.h):
//   vorn-fragments page TEMPLATE OUTPUT       the page's markup
//   vorn-fragments manual TEMPLATE OUTPUT     the manual page
//   vorn-fragments readme README [--check]    the README's generated parts, rewritten in place; with
//                                             --check, only whether they are up to date
#include "fragments/Fragments.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

namespace {

std::string readAll(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw vorn::fragments::Problem(std::string("cannot read ") + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeAll(const char* path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush())
        throw vorn::fragments::Problem(std::string("cannot write ") + path);
}

int usage()
{
    std::cerr
        << "usage: vorn-fragments page|manual TEMPLATE OUTPUT, or vorn-fragments readme README [--check]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    namespace fragments = vorn::fragments;
    if (argc < 3)
        return usage();
    const std::string_view what = argv[1];
    try {
        if ((what == "page" || what == "manual") && argc == 4) {
            const bool page = what == "page";
            writeAll(argv[3],
                     fragments::fillIn(readAll(argv[2]),
                                       page ? fragments::pageParts() : fragments::manualParts(), page));
            return 0;
        }
        if (what == "readme" && (argc == 3 || (argc == 4 && std::string_view(argv[3]) == "--check"))) {
            const std::string readme = readAll(argv[2]);
            const std::string refreshed = fragments::refreshReadme(readme, fragments::readmeParts());
            if (argc == 4) {
                if (refreshed == readme)
                    return 0;
                std::cerr << argv[2]
                          << " does not say what the calculator's tables say. Rewrite its generated "
                          << "parts with: vorn-fragments readme " << argv[2] << "\n";
                return 1;
            }
            if (refreshed != readme)
                writeAll(argv[2], refreshed);
            return 0;
        }
    } catch (const fragments::Problem& problem) {
        std::cerr << "vorn-fragments " << what << ": " << problem.what() << "\n";
        return 1;
    }
    return usage();
}
