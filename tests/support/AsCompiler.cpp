// The compiler's entry point: parse, generate, and put the constant pool first.
#include "AsCompiler.h"

#include "AsCodegen.h"
#include "AsParser.h"

namespace swfw {

std::vector<uint8_t> compileActionScript(std::string_view source, CompileOptions options)
{
    as::StmtList program = as::parseProgram(source);
    // ConstantPool arrived with SWF 5; SWF 4 blocks push their strings.
    as::ConstantPool pool(options.swfVersion >= 5);
    as::AsCodegen top(pool, {.swfVersion = options.swfVersion, .registers = options.registers});
    top.statements(program);
    Avm1Assembler block;
    if (!pool.strings().empty())
        block.constantPool(pool.strings());
    block.append(top.finish());
    return block.bytes();
}

} // namespace swfw
