// The object behind an XMLNode (and an XML document, which is a node too):
// its kind, name or value, attributes, and its place in a tree that never
// holds a cycle. The script's childNodes array mirrors the children.
#pragma once

#include "flash/script/Object.h"

#include <cstdint>
#include <vector>

namespace flash::script {

class ArrayObject;
class FunctionObject;
class Interpreter;

enum class XmlNodeType : uint8_t { Element = 1, Text = 3 };

class XmlNodeObject final : public Object {
public:
    explicit XmlNodeObject(Object* proto) : Object(proto) { }

    XmlNodeType type = XmlNodeType::Element;
    Value name = Value::null();  // an element's name (null for a document); null for text
    Value value = Value::null(); // a text node's text; null for an element

    [[nodiscard]] XmlNodeObject* parent() const { return m_parent; }
    [[nodiscard]] const std::vector<XmlNodeObject*>& children() const { return m_children; }
    // The sibling `offset` places away (1 next, -1 previous), or null.
    [[nodiscard]] XmlNodeObject* sibling(int offset) const;
    [[nodiscard]] bool isSelfOrAncestorOf(const XmlNodeObject& node) const;

    // Puts `child` before `before` (one of this node's children), or last when
    // `before` is null, taking it from wherever it was. Refused (false) when it
    // would make a cycle or `before` is not a child here.
    bool insert(Interpreter& vm, XmlNodeObject& child, XmlNodeObject* before = nullptr);
    // Takes this node out of its parent.
    void detach(Interpreter& vm);
    void removeAllChildren(Interpreter& vm);

    // The script's views, made on first use.
    ArrayObject& childNodes(Interpreter& vm);
    Object& attributes(Interpreter& vm);
    [[nodiscard]] Object* attributesIfAny() const { return m_attributes; }
    void setAttributes(Object& attributes) { m_attributes = &attributes; }

    void traceChildren(Tracer& tracer) override;
    [[nodiscard]] size_t byteSize() const override;

private:
    // Children from `index` on were renumbered: their indices and the script's array follow.
    void childrenChangedFrom(Interpreter& vm, size_t index);

    XmlNodeObject* m_parent = nullptr;
    uint32_t m_index = 0; // among the parent's children
    std::vector<XmlNodeObject*> m_children;
    ArrayObject* m_childNodes = nullptr;
    Object* m_attributes = nullptr;
};

// The node a value is, or null.
[[nodiscard]] XmlNodeObject* asXmlNode(const Value& value);

// The allocator XMLNode and XML construct with.
Object* allocateXmlNode(Interpreter& vm, Object* proto);

// A new node of `type` on `proto` (XMLNode.prototype for the nodes a document makes).
XmlNodeObject* makeXmlNode(Interpreter& vm, Object* proto, XmlNodeType type);
// What `nodeClass` (XMLNode's constructor) makes nodes with: its prototype now, or Object's.
[[nodiscard]] Object* xmlNodePrototype(Interpreter& vm, const Value& nodeClass);

// Installs XMLNode on the global object and returns its constructor, which XML builds on.
FunctionObject* installXmlNodeClass(Interpreter& vm);

} // namespace flash::script
