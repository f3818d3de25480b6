// The script heap: owns every script object and frees the unreachable ones,
// cycles included, with a tracing mark-and-sweep collector.
//
// Lifetime rule. The heap owns script objects; the stage owns display objects;
// neither holds the other's objects by owning pointer. A script object stays
// alive while it is reachable from a root: the global object, the roots the
// host registers (the script object of each clip on stage), a root source's
// callback, and everything the running interpreter holds (operand stack,
// registers, scope chains, `arguments`, pending timers). Collection happens
// only at safe points: collect() called by the host between ticks, or the
// interpreter between two actions when no native code is on the call stack
// (no NoCollect guard is held). Native code may therefore keep raw Object
// pointers in locals while it runs, but never across a return to the host.
// A host-backed object outlives its display object only as an empty shell:
// the host detaches its delegate when the display object goes away.
#pragma once

#include "flash/script/Object.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

namespace flash::script {

class Tracer {
public:
    void mark(Object* object)
    {
        if (object && !object->m_marked) {
            object->m_marked = true;
            m_pending.push_back(object);
        }
    }
    void mark(const Value& value)
    {
        if (value.isObject())
            mark(value.asObject());
    }
    // Traces until nothing is left; iterative, so deep structures cannot overflow the stack.
    void drain();
    // Sizes of the objects traced so far (read while each object is in cache anyway).
    [[nodiscard]] size_t tracedBytes() const { return m_bytes; }

private:
    std::vector<Object*> m_pending;
    size_t m_bytes = 0;
};

struct HeapLimits {
    size_t maxObjects = 4'000'000;
    size_t maxBytes = size_t(1) << 30;
};

class Heap {
public:
    using RootSource = std::function<void(Tracer&)>;
    using RootSourceId = uint32_t;

    Heap();
    ~Heap();
    Heap(const Heap&) = delete;
    Heap& operator=(const Heap&) = delete;

    // A new object owned by the heap. Past the limits the object is still made
    // (callers need not check), but overLimit() turns true so the running script stops.
    template<typename T, typename... Args>
    T* make(Args&&... args)
    {
        auto object = std::make_unique<T>(std::forward<Args>(args)...);
        T* raw = object.get();
        adopt(std::move(object), sizeof(T));
        return raw;
    }

    // Frees everything unreachable from the roots. Call only at a safe point.
    void collect();
    // Collects if allocation has passed the threshold and no guard is held.
    void collectIfDue();
    [[nodiscard]] bool isCollectionDue() const { return m_allocatedSinceCollect >= m_threshold; }

    // Counted roots: an object added twice must be removed twice.
    void addRoot(Object* object);
    void removeRoot(Object* object);
    RootSourceId addRootSource(RootSource source);
    void removeRootSource(RootSourceId id);

    // Held while native code keeps raw pointers across a call back into scripts.
    class NoCollect {
    public:
        explicit NoCollect(Heap& heap) : m_heap(heap) { ++m_heap.m_noCollect; }
        ~NoCollect() { --m_heap.m_noCollect; }
        NoCollect(const NoCollect&) = delete;
        NoCollect& operator=(const NoCollect&) = delete;

    private:
        Heap& m_heap;
    };
    [[nodiscard]] bool canCollect() const { return m_noCollect == 0; }

    void setLimits(HeapLimits limits) { m_limits = limits; }
    [[nodiscard]] const HeapLimits& limits() const { return m_limits; }
    [[nodiscard]] bool isOverLimit() const;
    // Counts `bytes` more against the limit (storage grown outside make()).
    void account(size_t bytes) { m_bytes += bytes; }

    [[nodiscard]] size_t objectCount() const { return m_objects.size(); }
    [[nodiscard]] size_t estimatedBytes() const { return m_bytes; }
    [[nodiscard]] uint64_t collections() const { return m_collections; }
    // Duration of the last collection, in microseconds.
    [[nodiscard]] uint64_t lastPauseMicros() const { return m_lastPauseMicros; }

private:
    void adopt(std::unique_ptr<Object> object, size_t size);
    void markRoots(Tracer& tracer);
    void sweep(size_t liveBytes);

    std::vector<std::unique_ptr<Object>> m_objects;
    std::unordered_map<Object*, uint32_t> m_roots;
    std::vector<std::pair<RootSourceId, RootSource>> m_rootSources;
    RootSourceId m_nextSourceId = 1;
    HeapLimits m_limits;
    size_t m_bytes = 0;
    size_t m_allocatedSinceCollect = 0;
    size_t m_threshold = 10'000;
    uint32_t m_noCollect = 0;
    uint64_t m_collections = 0;
    uint64_t m_lastPauseMicros = 0;
};

} // namespace flash::script
