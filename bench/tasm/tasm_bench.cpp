// Prints how long tasm takes for a generated 20,000-line source.
#include "assembler.h"
#include "file_loader.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kLines = 20000;
constexpr int kRuns = 7;

// Twenty lines per block, touching macros, locals, data, branches and conditionals.
std::string generatedSource()
{
    std::string source =
        "P1      .equ    90h\n"
        "TI      .equ    99h\n"
        "#define LOAD(reg,val) mov reg,#val\n"
        "#define FAST\n"
        "        .org    0\n"
        "        ljmp    main\n"
        "sub:    ret\n"
        "main:\n";
    int lines = 8;
    for (int block = 0; lines + 20 <= kLines - 1; ++block, lines += 20) {
        std::string n = std::to_string(block);
        std::string b = std::to_string(block & 0xFF);
        source += "        .module m" + n + "\n"
                  "blk" + n + ":  mov     a,#" + b + "        ; block " + n + "\n"
                  "        add     a,r" + std::to_string(block % 8) + "\n"
                  "        mov     30h,40h\n"
                  "        cjne    a,#10,_skip\n"
                  "        djnz    r7,blk" + n + "\n"
                  "_skip:  inc     dptr\n"
                  "        mov     dptr,#blk" + n + "+2*3\n"
                  "        lcall   sub\n"
                  "        .db     \"text\", " + b + ", 0\n"
                  "        .dw     blk" + n + ", $+2\n"
                  "        LOAD(r3, " + b + ")\n"
                  "#ifdef FAST\n"
                  "        orl     P1,#01h\n"
                  "#else\n"
                  "        anl     P1,#0FEh\n"
                  "#endif\n"
                  "        jnb     TI,$\n"
                  "        setb c \\ clr a \\ nop\n"
                  "\n";
    }
    while (lines++ < kLines - 1)
        source += "; filler\n";
    return source + "        .end\n";
}

}  // namespace

int main()
{
    const std::string source = generatedSource();
    tasm::MemoryLoader loader({{"work.asm", source}});
    std::vector<double> ms;
    tasm::Result result;
    for (int run = 0; run < kRuns; ++run) {
        auto start = std::chrono::steady_clock::now();
        result = tasm::assemble("work.asm", loader);
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("tasm: %d lines, %zu bytes, %d errors, listing %zu bytes\n", kLines, result.image.binary().size(),
                result.errors, result.listing.size());
    std::printf("tasm: assemble median %.1f ms (min %.1f, max %.1f, %d runs)\n", ms[ms.size() / 2], ms.front(),
                ms.back(), kRuns);
    return result.errors == 0 ? 0 : 1;
}
