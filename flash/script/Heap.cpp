// Mark from the roots, sweep the rest; collections only at safe points.
#include "flash/script/Heap.h"

#include <algorithm>
#include <chrono>

namespace flash::script {

void Tracer::drain()
{
    while (!m_pending.empty()) {
        Object* object = m_pending.back();
        m_pending.pop_back();
        object->traceChildren(*this);
        m_bytes += object->byteSize();
    }
}

Heap::Heap() = default;

// Objects reference each other raw; destroying them in any order is fine since
// destructors do not follow those references.
Heap::~Heap() = default;

void Heap::adopt(std::unique_ptr<Object> object, size_t size)
{
    m_objects.push_back(std::move(object));
    m_bytes += size;
    ++m_allocatedSinceCollect;
}

bool Heap::isOverLimit() const
{
    return m_objects.size() > m_limits.maxObjects || m_bytes > m_limits.maxBytes;
}

void Heap::addRoot(Object* object)
{
    if (object)
        ++m_roots[object];
}

void Heap::removeRoot(Object* object)
{
    auto it = m_roots.find(object);
    if (it != m_roots.end() && --it->second == 0)
        m_roots.erase(it);
}

Heap::RootSourceId Heap::addRootSource(RootSource source)
{
    const RootSourceId id = m_nextSourceId++;
    m_rootSources.emplace_back(id, std::move(source));
    return id;
}

void Heap::removeRootSource(RootSourceId id)
{
    std::erase_if(m_rootSources, [id](const auto& entry) { return entry.first == id; });
}

void Heap::markRoots(Tracer& tracer)
{
    for (const auto& [object, count] : m_roots)
        tracer.mark(object);
    for (const auto& [id, source] : m_rootSources)
        source(tracer);
}

void Heap::sweep(size_t liveBytes)
{
    auto kept = m_objects.begin();
    for (auto it = m_objects.begin(); it != m_objects.end(); ++it) {
        Object* object = it->get();
        if (!object->m_marked) {
            it->reset();
            continue;
        }
        object->m_marked = false;
        if (kept != it)
            *kept = std::move(*it);
        ++kept;
    }
    m_objects.erase(kept, m_objects.end());
    m_bytes = liveBytes;
}

void Heap::collect()
{
    const auto start = std::chrono::steady_clock::now();
    Tracer tracer;
    markRoots(tracer);
    tracer.drain();
    sweep(tracer.tracedBytes());
    m_allocatedSinceCollect = 0;
    // The next collection comes after the heap has grown by as much again as survived.
    m_threshold = std::max<size_t>(10'000, m_objects.size());
    ++m_collections;
    m_lastPauseMicros = uint64_t(std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start).count());
}

void Heap::collectIfDue()
{
    if (isCollectionDue() && canCollect())
        collect();
}

} // namespace flash::script
