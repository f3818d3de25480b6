// The disassembler: walks a block with the action table's payload layouts.
#include "flash/script/Disassembler.h"

#include "flash/script/ActionPayloads.h"
#include "flash/script/ActionTable.h"
#include "flash/script/Conversions.h"

#include <cstdio>
#include <string>

namespace flash::script {

namespace {

constexpr int kMaxNesting = 16;

std::string hex(size_t offset)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04zx", offset);
    return buffer;
}

std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out + "\"";
}

uint16_t u16(std::span<const uint8_t> p, size_t at) { return uint16_t(p[at] | (p[at + 1] << 8)); }

std::string describePush(std::span<const uint8_t> payload)
{
    std::string out;
    PushReader reader(payload);
    PushItem item;
    while (!reader.atEnd()) {
        if (!reader.next(item))
            return out + " <malformed>";
        out += ' ';
        switch (item.kind) {
        case PushKind::Register:
            out += "r" + std::to_string(item.index);
            break;
        case PushKind::Constant:
            out += "c" + std::to_string(item.index);
            break;
        case PushKind::Literal:
            switch (item.literal.type()) {
            case ValueType::String: out += quoted(item.literal.stringView()); break;
            case ValueType::Undefined: out += "undefined"; break;
            case ValueType::Null: out += "null"; break;
            case ValueType::Boolean: out += item.literal.asBoolean() ? "true" : "false"; break;
            default: out += numberToString(item.literal.asNumber()); break;
            }
        }
    }
    return out;
}

class Lister {
public:
    Lister(std::span<const uint8_t> block, std::string& out) : m_block(block), m_out(out) { }

    // Lists [start, end) at `depth`; false once the bytes stop making sense.
    bool list(size_t start, size_t end, int depth)
    {
        size_t pc = start;
        while (pc < end) {
            const uint8_t op = m_block[pc];
            const size_t at = pc;
            std::span<const uint8_t> payload;
            if (op & 0x80) {
                if (end - pc < 3)
                    return line(at, depth, "<truncated action>"), false;
                const size_t length = u16(m_block, pc + 1);
                if (end - pc - 3 < length)
                    return line(at, depth, "<action length runs past the block>"), false;
                payload = m_block.subspan(pc + 3, length);
                pc += 3 + length;
            } else {
                pc += 1;
            }
            if (op == 0) {
                line(at, depth, "End");
                continue;
            }
            const ActionInfo* info = actionInfo(op);
            if (!info) {
                char buffer[32];
                std::snprintf(buffer, sizeof buffer, "Unknown 0x%02x", op);
                line(at, depth, buffer + (payload.empty() ? std::string() : " (" + std::to_string(payload.size()) + " bytes)"));
                continue;
            }
            if (!describe(*info, payload, at, pc, end, depth))
                return false;
        }
        return true;
    }

private:
    void line(size_t at, int depth, const std::string& text)
    {
        m_out += hex(at) + std::string(size_t(2 + depth * 4), ' ') + text + "\n";
    }

    bool describe(const ActionInfo& info, std::span<const uint8_t> p, size_t at, size_t& pc, size_t end, int depth)
    {
        std::string text = info.name;
        const auto bad = [&] { line(at, depth, text + " <malformed>"); return false; };
        switch (info.payload) {
        case Payload::None:
        case Payload::Bytes:
            break;
        case Payload::Frame:
            if (p.size() < 2)
                return bad();
            text += " " + std::to_string(u16(p, 0));
            break;
        case Payload::GetUrl: {
            size_t pos = 0;
            auto url = readString(p, pos);
            auto target = url ? readString(p, pos) : std::nullopt;
            if (!target)
                return bad();
            text += " " + quoted(url->view()) + " " + quoted(target->view());
            break;
        }
        case Payload::WaitForFrame:
            if (p.size() < 3)
                return bad();
            text += " " + std::to_string(u16(p, 0)) + " skip " + std::to_string(p[2]);
            break;
        case Payload::Text: {
            size_t pos = 0;
            auto s = readString(p, pos);
            if (!s)
                return bad();
            text += " " + quoted(s->view());
            break;
        }
        case Payload::Push:
            text += describePush(p);
            break;
        case Payload::Branch:
            if (p.size() < 2)
                return bad();
            text += " -> " + hex(size_t(int64_t(pc) + int16_t(u16(p, 0))));
            break;
        case Payload::GetUrl2:
            if (p.size() < 1)
                return bad();
            text += " method " + std::to_string(p[0] & 3) + ((p[0] & 0x40) ? " clip" : "") + ((p[0] & 0x80) ? " variables" : "");
            break;
        case Payload::GotoFrame2:
            if (p.size() < 1 || ((p[0] & 2) && p.size() < 3))
                return bad();
            text += (p[0] & 1) ? " play" : " stop";
            if (p[0] & 2)
                text += " bias " + std::to_string(u16(p, 1));
            break;
        case Payload::Skip:
        case Payload::Register:
            if (p.size() < 1)
                return bad();
            text += (info.payload == Payload::Skip ? " skip " : " r") + std::to_string(p[0]);
            break;
        case Payload::ConstantPool: {
            auto pool = decodeConstantPool(p);
            if (!pool)
                return bad();
            for (size_t i = 0; i < pool->size(); ++i)
                text += " c" + std::to_string(i) + ":" + quoted((*pool)[i].view());
            break;
        }
        case Payload::Function:
        case Payload::Function2:
            return function(info, p, at, pc, end, depth);
        case Payload::With:
            if (p.size() < 2)
                return bad();
            text += " size " + std::to_string(u16(p, 0));
            break;
        case Payload::Try: {
            auto h = decodeTry(p);
            if (!h)
                return bad();
            text += " try " + std::to_string(h->trySize) + " catch " + std::to_string(h->catchSize) + " finally "
                + std::to_string(h->finallySize);
            if (h->hasCatch)
                text += h->catchInRegister ? " into r" + std::to_string(h->catchRegister) : " into " + quoted(h->catchName.view());
            break;
        }
        }
        line(at, depth, text);
        return true;
    }

    bool function(const ActionInfo& info, std::span<const uint8_t> p, size_t at, size_t& pc, size_t end, int depth)
    {
        const auto flavor = info.payload == Payload::Function2 ? FunctionFlavor::Registers : FunctionFlavor::Basic;
        auto h = decodeFunction(p, flavor);
        if (!h) {
            line(at, depth, std::string(info.name) + " <malformed>");
            return false;
        }
        std::string text = std::string(info.name) + " " + quoted(h->name.view()) + " (";
        for (size_t i = 0; i < h->params.size(); ++i) {
            if (i)
                text += ", ";
            if (h->params[i].reg)
                text += "r" + std::to_string(h->params[i].reg) + ":";
            text += h->params[i].name.toStd();
        }
        text += ")";
        if (flavor == FunctionFlavor::Registers) {
            char flags[16];
            std::snprintf(flags, sizeof flags, "0x%04x", h->flags);
            text += " registers " + std::to_string(h->registerCount) + " flags " + flags;
        }
        text += " size " + std::to_string(h->codeSize);
        line(at, depth, text);
        if (end - pc < h->codeSize) {
            line(pc, depth + 1, "<body runs past the block>");
            return false;
        }
        if (depth + 1 < kMaxNesting && !list(pc, pc + h->codeSize, depth + 1))
            return false;
        pc += h->codeSize;
        return true;
    }

    std::span<const uint8_t> m_block;
    std::string& m_out;
};

} // namespace

std::string disassemble(std::span<const uint8_t> block, int swfVersion)
{
    (void)swfVersion;
    std::string out;
    Lister(block, out).list(0, block.size(), 0);
    return out;
}

} // namespace flash::script
