// as2swf: compiles ActionScript text into a movie, for trying the interpreter by hand.
//
//   as2swf IN.as OUT.swf [--version N]
//
// Each line "//--- frame" starts the actions of a new main-timeline frame.
#include "AsCompiler.h"
#include "SwfWriter.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: as2swf IN.as OUT.swf [--version N]\n";
        return 2;
    }
    int version = 8;
    for (int i = 3; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--version")
            version = std::stoi(argv[i + 1]);
    std::ifstream in(argv[1]);
    std::stringstream text;
    text << in.rdbuf();

    std::vector<std::string> frames(1);
    std::string line;
    while (std::getline(text, line)) {
        if (line.rfind("//--- frame", 0) == 0)
            frames.emplace_back();
        else
            frames.back() += line + "\n";
    }
    try {
        swfw::SwfWriter writer(static_cast<uint8_t>(version), 200, 200, 12);
        for (const auto& frame : frames) {
            writer.actions(swfw::compileActionScript(frame, {.swfVersion = version}));
            writer.showFrame();
        }
        auto bytes = writer.finish();
        std::ofstream out(argv[2], std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    } catch (const std::exception& e) {
        std::cerr << e.what() << "\n";
        return 1;
    }
    return 0;
}
