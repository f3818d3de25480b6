// XML: a document node that reads XML text into its tree (from the
// constructor, parseXML or a loaded file), makes nodes, and loads.
#include "flash/script/builtins/DataLoading.h"
#include "flash/script/builtins/LibrarySupport.h"
#include "flash/script/builtins/NetworkClasses.h"
#include "flash/script/builtins/XmlNode.h"
#include "flash/script/builtins/XmlParser.h"

namespace flash::script {

namespace {

bool isWhitespace(std::string_view text)
{
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

// Hangs the nodes the parser reports under a document.
class TreeBuilder final : public XmlSink {
public:
    TreeBuilder(Interpreter& vm, XmlNodeObject& document, Object* nodeProto, bool ignoreWhite)
        : m_vm(vm), m_document(document), m_current(&document), m_nodeProto(nodeProto), m_ignoreWhite(ignoreWhite) { }

    void startElement(std::string_view name, std::span<const XmlAttribute> attributes) override
    {
        XmlNodeObject* element = makeXmlNode(m_vm, m_nodeProto, XmlNodeType::Element);
        element->name = Value(name);
        if (!attributes.empty()) {
            Object& target = element->attributes(m_vm);
            for (const XmlAttribute& a : attributes)
                m_vm.define(target, String(a.name), Value(a.value), 0);
        }
        add(*element, 1 + attributes.size());
        m_current = element;
    }

    void endElement() override
    {
        if (m_current != &m_document)
            m_current = m_current->parent();
    }

    void text(std::string text, XmlTextKind kind) override
    {
        if (m_ignoreWhite && kind == XmlTextKind::Parsed && isWhitespace(text))
            return;
        XmlNodeObject* node = makeXmlNode(m_vm, m_nodeProto, XmlNodeType::Text);
        node->value = Value(text);
        add(*node, 1);
    }

    void declaration(std::string_view text) override { set("xmlDecl", Value(text)); }
    void docType(std::string_view text) override { set("docTypeDecl", Value(text)); }

private:
    void set(const char* member, Value value) { m_vm.setMember(Value(&m_document), String(member), value); }

    // Appends under the open element; the heap and time limits are looked at as the tree grows.
    void add(XmlNodeObject& node, size_t items)
    {
        (void)m_current->insert(m_vm, node);
        const size_t before = m_items;
        m_items += items;
        if (before / 4096 != m_items / 4096)
            m_vm.checkBudget();
    }

    Interpreter& m_vm;
    XmlNodeObject& m_document;
    XmlNodeObject* m_current;
    Object* m_nodeProto;
    bool m_ignoreWhite;
    size_t m_items = 0;
};

// Replaces the document's tree and declarations with what `text` holds; sets status.
void parseInto(Interpreter& vm, XmlNodeObject& document, std::string_view text, const Value& nodeClass)
{
    const Value self(&document);
    document.removeAllChildren(vm);
    for (const char* member : { "xmlDecl", "docTypeDecl" }) {
        if (!vm.getMember(self, String(member)).isUndefined())
            vm.setMember(self, String(member), Value());
    }
    const bool ignoreWhite = vm.toBoolean(vm.getMember(self, String("ignoreWhite")));
    TreeBuilder builder(vm, document, xmlNodePrototype(vm, nodeClass), ignoreWhite);
    XmlParseOptions options;
    options.charset = vm.version() >= 6 ? XmlCharset::Utf8 : XmlCharset::Latin1;
    const XmlStatus status = parseXml(text, builder, options);
    vm.setMember(self, String("status"), Value(int(status)));
}

// The natives' data is XMLNode's constructor.
Value construct(CallContext& c)
{
    XmlNodeObject* document = asXmlNode(c.thisValue);
    if (!c.isConstruct() || !document)
        return Value();
    c.vm.setMember(c.thisValue, String("status"), Value(0));
    if (!c.arg(0).isNullish())
        parseInto(c.vm, *document, c.vm.toString(c.arg(0)).view(), c.callee.data());
    return Value();
}

Value parseXML(CallContext& c)
{
    if (XmlNodeObject* document = asXmlNode(c.thisValue))
        parseInto(c.vm, *document, c.vm.toString(c.arg(0)).view(), c.callee.data());
    return Value();
}

Value createNode(CallContext& c, XmlNodeType type)
{
    const Value args[] = { Value(int(type)), c.arg(0) };
    return constructFromData(c, args);
}

Value createElement(CallContext& c) { return createNode(c, XmlNodeType::Element); }
Value createTextNode(CallContext& c) { return createNode(c, XmlNodeType::Text); }

} // namespace

void installXml(Interpreter& vm)
{
    FunctionObject* nodeClass = installXmlNodeClass(vm);
    const Value nodeClassValue(static_cast<Object*>(nodeClass));
    Object* proto = vm.newObject();
    proto->setProto(xmlNodePrototype(vm, nodeClassValue));
    // Built by hand rather than by newConstructor: XML's natives carry XMLNode's constructor as their data.
    FunctionObject* ctor = vm.newNative(construct, nodeClassValue);
    ctor->setAllocator(allocateXmlNode);
    vm.define(*ctor, vm.names().prototype, Value(proto));
    vm.define(*proto, vm.names().constructor, Value(static_cast<Object*>(ctor)));
    vm.define(*vm.global(), String("XML"), Value(static_cast<Object*>(ctor)));
    static constexpr std::pair<const char*, NativeFunction> kMethods[] = {
        { "parseXML", parseXML }, { "createElement", createElement }, { "createTextNode", createTextNode },
    };
    for (const auto& [name, native] : kMethods)
        vm.define(*proto, String(name), Value(static_cast<Object*>(vm.newNative(native, nodeClassValue))));
    defineDataTransfer(vm, *proto, "parseXML");
    vm.define(*proto, String("ignoreWhite"), Value(false));
}

} // namespace flash::script
