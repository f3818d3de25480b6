#include "flash/script/builtins/XmlWriter.h"

#include "flash/script/Interpreter.h"
#include "flash/script/builtins/XmlNode.h"
#include "flash/script/builtins/XmlParser.h"

#include <string>
#include <vector>

namespace flash::script {

namespace {

class Writer {
public:
    explicit Writer(Interpreter& vm) : m_vm(vm) { }

    String write(XmlNodeObject& root)
    {
        Heap::NoCollect hold(m_vm.heap());
        if (root.type == XmlNodeType::Text) {
            text(root);
            return String(m_out);
        }
        if (root.name.isNull()) {
            // A document starts with its declarations.
            for (const char* member : { "xmlDecl", "docTypeDecl" }) {
                if (const Value v = m_vm.getMember(Value(&root), String(member)); !v.isNullish())
                    m_out += m_vm.toString(v).view();
            }
        }
        // Children are read by index each step: a script run by an attribute's toString may change the tree.
        std::vector<std::pair<XmlNodeObject*, size_t>> open;
        if (start(root))
            open.emplace_back(&root, 0);
        while (!open.empty()) {
            auto& [node, next] = open.back();
            if (next >= node->children().size()) {
                end(*node);
                open.pop_back();
                continue;
            }
            XmlNodeObject* child = node->children()[next++];
            if (child->type == XmlNodeType::Text)
                text(*child);
            else if (start(*child))
                open.emplace_back(child, 0);
            if ((++m_steps & 1023) == 0)
                m_vm.checkBudget();
            if (m_out.size() > m_vm.limits().maxStringLength)
                m_vm.stop("Script stopped: an XML text grew past the string limit");
        }
        return String(m_out);
    }

private:
    void text(XmlNodeObject& node)
    {
        if (node.value.isString())
            appendXmlEscaped(m_out, node.value.stringView());
    }

    // Writes the start tag; true when children follow (and so an end tag).
    bool start(XmlNodeObject& node)
    {
        const bool hasChildren = !node.children().empty();
        if (!node.name.isString())
            return hasChildren;
        m_out += '<';
        m_out += node.name.stringView();
        if (Object* attributes = node.attributesIfAny()) {
            for (const String& name : m_vm.enumerableNames(*attributes)) {
                m_out += ' ';
                m_out += name.view();
                m_out += "=\"";
                appendXmlEscaped(m_out, m_vm.toString(m_vm.getMember(Value(attributes), name)).view());
                m_out += '"';
            }
        }
        m_out += hasChildren ? ">" : " />";
        return hasChildren;
    }

    void end(XmlNodeObject& node)
    {
        if (!node.name.isString())
            return;
        m_out += "</";
        m_out += node.name.stringView();
        m_out += '>';
    }

    Interpreter& m_vm;
    std::string m_out;
    size_t m_steps = 0;
};

} // namespace

String writeXml(Interpreter& vm, XmlNodeObject& root)
{
    return Writer(vm).write(root);
}

} // namespace flash::script
