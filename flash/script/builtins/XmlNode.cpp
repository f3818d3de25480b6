#include "flash/script/builtins/XmlNode.h"

#include "flash/script/Heap.h"
#include "flash/script/builtins/LibrarySupport.h"

namespace flash::script {

XmlNodeObject* XmlNodeObject::sibling(int offset) const
{
    if (!m_parent)
        return nullptr;
    const int64_t at = int64_t(m_index) + offset;
    const std::vector<XmlNodeObject*>& siblings = m_parent->m_children;
    return at >= 0 && at < int64_t(siblings.size()) ? siblings[size_t(at)] : nullptr;
}

bool XmlNodeObject::isSelfOrAncestorOf(const XmlNodeObject& node) const
{
    // Trees hold no cycle, so the walk ends at a root.
    for (const XmlNodeObject* at = &node; at; at = at->m_parent) {
        if (at == this)
            return true;
    }
    return false;
}

bool XmlNodeObject::insert(Interpreter& vm, XmlNodeObject& child, XmlNodeObject* before)
{
    // Only a node with children can be an ancestor: new leaves, as parsing and cloning add, need no walk.
    if (&child == this || (!child.m_children.empty() && child.isSelfOrAncestorOf(*this)))
        return false;
    if (before && (before->m_parent != this || before == &child))
        return false;
    child.detach(vm);
    const size_t index = before ? before->m_index : m_children.size();
    const size_t capacity = m_children.capacity();
    m_children.insert(m_children.begin() + ptrdiff_t(index), &child);
    if (m_children.capacity() > capacity)
        vm.heap().account((m_children.capacity() - capacity) * sizeof(XmlNodeObject*));
    child.m_parent = this;
    childrenChangedFrom(vm, index);
    return true;
}

void XmlNodeObject::detach(Interpreter& vm)
{
    XmlNodeObject* parent = m_parent;
    if (!parent)
        return;
    const size_t index = m_index;
    parent->m_children.erase(parent->m_children.begin() + ptrdiff_t(index));
    m_parent = nullptr;
    m_index = 0;
    parent->childrenChangedFrom(vm, index);
}

void XmlNodeObject::removeAllChildren(Interpreter& vm)
{
    for (XmlNodeObject* child : m_children) {
        child->m_parent = nullptr;
        child->m_index = 0;
    }
    m_children.clear();
    childrenChangedFrom(vm, 0);
}

ArrayObject& XmlNodeObject::childNodes(Interpreter& vm)
{
    if (!m_childNodes) {
        m_childNodes = vm.newArray();
        childrenChangedFrom(vm, 0);
    }
    return *m_childNodes;
}

Object& XmlNodeObject::attributes(Interpreter& vm)
{
    if (!m_attributes)
        m_attributes = vm.newObject();
    return *m_attributes;
}

void XmlNodeObject::childrenChangedFrom(Interpreter& vm, size_t index)
{
    for (size_t i = index; i < m_children.size(); ++i)
        m_children[i]->m_index = uint32_t(i);
    if (!m_childNodes)
        return;
    growing(vm, *m_childNodes, [&] {
        for (size_t i = index; i < m_children.size(); ++i)
            m_childNodes->set(uint32_t(i), Value(static_cast<Object*>(m_children[i])));
        m_childNodes->setLength(uint32_t(m_children.size()));
    });
}

void XmlNodeObject::traceChildren(Tracer& tracer)
{
    Object::traceChildren(tracer);
    tracer.mark(m_parent);
    for (XmlNodeObject* child : m_children)
        tracer.mark(child);
    tracer.mark(m_childNodes);
    tracer.mark(m_attributes);
}

size_t XmlNodeObject::byteSize() const
{
    return Object::byteSize() + sizeof(XmlNodeObject) - sizeof(Object) + m_children.capacity() * sizeof(XmlNodeObject*);
}

XmlNodeObject* asXmlNode(const Value& value)
{
    return dynamic_cast<XmlNodeObject*>(value.toObjectOrNull());
}

Object* allocateXmlNode(Interpreter& vm, Object* proto)
{
    return vm.heap().make<XmlNodeObject>(proto);
}

XmlNodeObject* makeXmlNode(Interpreter& vm, Object* proto, XmlNodeType type)
{
    auto* node = vm.heap().make<XmlNodeObject>(proto);
    node->type = type;
    return node;
}

Object* xmlNodePrototype(Interpreter& vm, const Value& nodeClass)
{
    Object* proto = vm.getMember(nodeClass, vm.names().prototype).toObjectOrNull();
    return proto ? proto : vm.prototypes().object;
}

} // namespace flash::script
