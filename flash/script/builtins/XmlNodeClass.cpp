// XMLNode: a node's kind, name, value and attributes, the tree links scripts
// walk (read-only, kept by the methods that change the tree), cloning, its
// XML text, and the namespace lookups of later movies.
#include "flash/script/builtins/LibrarySupport.h"
#include "flash/script/builtins/XmlNode.h"
#include "flash/script/builtins/XmlWriter.h"

#include <string>

namespace flash::script {

namespace {

XmlNodeObject* self(CallContext& c) { return asXmlNode(c.thisValue); }

Value nodeOrNull(XmlNodeObject* node) { return node ? Value(static_cast<Object*>(node)) : Value::null(); }

// Names and values are strings or null; undefined clears them too.
Value stringOrNull(Interpreter& vm, const Value& value)
{
    return value.isNullish() ? Value::null() : Value(vm.toString(value));
}

Value construct(CallContext& c)
{
    XmlNodeObject* node = self(c);
    if (!c.isConstruct() || !node)
        return Value();
    node->type = numberArg(c, 0) == 3 ? XmlNodeType::Text : XmlNodeType::Element;
    (node->type == XmlNodeType::Text ? node->value : node->name) = stringOrNull(c.vm, c.arg(1));
    return Value();
}

// --- Properties: read through `this` when it is a node, undefined on anything else ---

using NodeRead = Value (*)(Interpreter&, XmlNodeObject&);

template<NodeRead read>
Value readNode(CallContext& c)
{
    XmlNodeObject* node = self(c);
    return node ? read(c.vm, *node) : Value();
}

template<Value XmlNodeObject::*field>
Value readField(CallContext& c)
{
    XmlNodeObject* node = self(c);
    return node ? node->*field : Value();
}

template<Value XmlNodeObject::*field>
Value writeField(CallContext& c)
{
    if (XmlNodeObject* node = self(c))
        node->*field = stringOrNull(c.vm, c.arg(0));
    return Value();
}

Value nodeType(Interpreter&, XmlNodeObject& node) { return Value(int(node.type)); }
Value attributes(Interpreter& vm, XmlNodeObject& node) { return Value(&node.attributes(vm)); }
Value childNodes(Interpreter& vm, XmlNodeObject& node) { return Value(static_cast<Object*>(&node.childNodes(vm))); }
Value parentNode(Interpreter&, XmlNodeObject& node) { return nodeOrNull(node.parent()); }
Value nextSibling(Interpreter&, XmlNodeObject& node) { return nodeOrNull(node.sibling(1)); }
Value previousSibling(Interpreter&, XmlNodeObject& node) { return nodeOrNull(node.sibling(-1)); }

Value firstChild(Interpreter&, XmlNodeObject& node)
{
    return nodeOrNull(node.children().empty() ? nullptr : node.children().front());
}

Value lastChild(Interpreter&, XmlNodeObject& node)
{
    return nodeOrNull(node.children().empty() ? nullptr : node.children().back());
}

// Another object may stand for the attributes; anything else is ignored.
Value setAttributes(CallContext& c)
{
    XmlNodeObject* node = self(c);
    if (Object* replacement = c.arg(0).toObjectOrNull(); node && replacement)
        node->setAttributes(*replacement);
    return Value();
}

// --- Namespaces: "prefix:local" names, declared by xmlns and xmlns:prefix attributes up the tree ---

enum class NamePart : uint8_t { Prefix, Local };

Value namePart(CallContext& c, NamePart part)
{
    XmlNodeObject* node = self(c);
    if (!node || !node->name.isString())
        return Value::null();
    const std::string_view name = node->name.stringView();
    const size_t colon = name.find(':');
    if (part == NamePart::Prefix)
        return Value(colon == std::string_view::npos ? std::string_view() : name.substr(0, colon));
    return Value(colon == std::string_view::npos ? name : name.substr(colon + 1));
}

Value prefix(CallContext& c) { return namePart(c, NamePart::Prefix); }
Value localName(CallContext& c) { return namePart(c, NamePart::Local); }

Value namespaceFor(Interpreter& vm, XmlNodeObject* node, std::string_view prefix)
{
    const String attribute(prefix.empty() ? std::string("xmlns") : "xmlns:" + std::string(prefix));
    Heap::NoCollect hold(vm.heap()); // attribute getters may run scripts while the walk holds nodes
    for (XmlNodeObject* at = node; at; at = at->parent()) {
        if (Object* attributes = at->attributesIfAny()) {
            const Value uri = vm.getMember(Value(attributes), attribute);
            if (!uri.isUndefined())
                return Value(vm.toString(uri));
        }
    }
    return Value::null();
}

Value namespaceURI(CallContext& c)
{
    const Value part = prefix(c);
    return part.isString() ? namespaceFor(c.vm, self(c), part.stringView()) : Value::null();
}

Value getNamespaceForPrefix(CallContext& c)
{
    XmlNodeObject* node = self(c);
    return node ? namespaceFor(c.vm, node, c.vm.toString(c.arg(0)).view()) : Value::null();
}

Value getPrefixForNamespace(CallContext& c)
{
    const String uri = c.vm.toString(c.arg(0));
    Heap::NoCollect hold(c.vm.heap());
    for (XmlNodeObject* at = self(c); at; at = at->parent()) {
        Object* attributes = at->attributesIfAny();
        if (!attributes)
            continue;
        for (const String& name : c.vm.enumerableNames(*attributes)) {
            const std::string_view n = name.view();
            if ((n == "xmlns" || n.starts_with("xmlns:")) && c.vm.toString(c.vm.getMember(Value(attributes), name)) == uri)
                return Value(n.size() > 5 ? n.substr(6) : std::string_view());
        }
    }
    return Value::null();
}

// --- Tree changes ---

Value appendChild(CallContext& c)
{
    XmlNodeObject* node = self(c);
    if (XmlNodeObject* child = asXmlNode(c.arg(0)); node && child)
        (void)node->insert(c.vm, *child);
    return Value();
}

Value insertBefore(CallContext& c)
{
    XmlNodeObject* node = self(c);
    XmlNodeObject* child = asXmlNode(c.arg(0));
    if (XmlNodeObject* before = asXmlNode(c.arg(1)); node && child && before)
        (void)node->insert(c.vm, *child, before);
    return Value();
}

Value removeNode(CallContext& c)
{
    if (XmlNodeObject* node = self(c))
        node->detach(c.vm);
    return Value();
}

Value hasChildNodes(CallContext& c)
{
    XmlNodeObject* node = self(c);
    return Value(node && !node->children().empty());
}

// A copy of `source` alone, with its own copy of the attributes in the same order.
XmlNodeObject* copyOf(Interpreter& vm, XmlNodeObject& source)
{
    XmlNodeObject* copy = makeXmlNode(vm, source.proto(), source.type);
    copy->name = source.name;
    copy->value = source.value;
    if (Object* attributes = source.attributesIfAny()) {
        Object& target = copy->attributes(vm);
        const std::vector<String> names = vm.enumerableNames(*attributes); // most recent first
        for (auto name = names.rbegin(); name != names.rend(); ++name)
            vm.define(target, *name, vm.getMember(Value(attributes), *name), 0);
    }
    return copy;
}

Value cloneNode(CallContext& c)
{
    XmlNodeObject* source = self(c);
    if (!source)
        return Value();
    Heap::NoCollect hold(c.vm.heap());
    XmlNodeObject* root = copyOf(c.vm, *source);
    if (c.vm.toBoolean(c.arg(0))) {
        // An explicit stack: trees a script built may be deeper than the C++ stack allows.
        std::vector<std::pair<XmlNodeObject*, XmlNodeObject*>> pending { { source, root } };
        size_t copied = 0;
        while (!pending.empty()) {
            const auto [from, to] = pending.back();
            pending.pop_back();
            for (size_t i = 0; i < from->children().size(); ++i) {
                XmlNodeObject* original = from->children()[i];
                XmlNodeObject* copy = copyOf(c.vm, *original);
                (void)to->insert(c.vm, *copy);
                pending.emplace_back(original, copy);
                if ((++copied & 1023) == 0)
                    c.vm.checkBudget();
            }
        }
    }
    return Value(static_cast<Object*>(root));
}

Value toString(CallContext& c)
{
    XmlNodeObject* node = self(c);
    return node ? Value(writeXml(c.vm, *node)) : Value(String());
}

} // namespace

FunctionObject* installXmlNodeClass(Interpreter& vm)
{
    const LibraryClass node = defineLibraryClass(vm, *vm.global(), "XMLNode", construct);
    node.constructor->setAllocator(allocateXmlNode);
    struct Accessor {
        const char* name;
        NativeFunction get;
        NativeFunction set; // null: read-only, writes are ignored
    };
    static constexpr Accessor kAccessors[] = {
        { "nodeType", readNode<nodeType>, nullptr },
        { "nodeName", readField<&XmlNodeObject::name>, writeField<&XmlNodeObject::name> },
        { "nodeValue", readField<&XmlNodeObject::value>, writeField<&XmlNodeObject::value> },
        { "attributes", readNode<attributes>, setAttributes },
        { "childNodes", readNode<childNodes>, nullptr },
        { "parentNode", readNode<parentNode>, nullptr },
        { "firstChild", readNode<firstChild>, nullptr },
        { "lastChild", readNode<lastChild>, nullptr },
        { "nextSibling", readNode<nextSibling>, nullptr },
        { "previousSibling", readNode<previousSibling>, nullptr },
        { "prefix", prefix, nullptr },
        { "localName", localName, nullptr },
        { "namespaceURI", namespaceURI, nullptr },
    };
    for (const Accessor& a : kAccessors)
        defineAccessor(vm, *node.prototype, a.name, a.get, a.set);
    static constexpr std::pair<const char*, NativeFunction> kMethods[] = {
        { "appendChild", appendChild },
        { "insertBefore", insertBefore },
        { "removeNode", removeNode },
        { "cloneNode", cloneNode },
        { "hasChildNodes", hasChildNodes },
        { "toString", toString },
        { "getNamespaceForPrefix", getNamespaceForPrefix },
        { "getPrefixForNamespace", getPrefixForNamespace },
    };
    for (const auto& [name, native] : kMethods)
        node.method(vm, name, native);
    return node.constructor;
}

} // namespace flash::script
