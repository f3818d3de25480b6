// A least-recently-used cache bounded by a total cost (bytes or entries).
#pragma once

#include <cstddef>
#include <functional>
#include <list>
#include <memory>
#include <unordered_map>
#include <utility>

namespace flash {

template<typename Key, typename Value, typename Hash = std::hash<Key>>
class LruCache {
public:
    explicit LruCache(size_t budget) : m_budget(budget) {}

    // The cached value, or null; a hit makes the entry the most recent.
    [[nodiscard]] std::shared_ptr<const Value> find(const Key& key)
    {
        auto it = m_index.find(key);
        if (it == m_index.end()) {
            ++m_misses;
            return nullptr;
        }
        ++m_hits;
        m_order.splice(m_order.begin(), m_order, it->second);
        return it->second->value;
    }

    // Stores `value`, evicting the least recent entries beyond the budget. An
    // entry bigger than the whole budget is returned but not kept.
    std::shared_ptr<const Value> insert(const Key& key, std::shared_ptr<const Value> value, size_t cost)
    {
        erase(key);
        if (cost > m_budget)
            return value;
        m_order.push_front(Entry{key, value, cost});
        m_index.emplace(key, m_order.begin());
        m_cost += cost;
        while (m_cost > m_budget && !m_order.empty())
            erase(m_order.back().key);
        return value;
    }

    void erase(const Key& key)
    {
        auto it = m_index.find(key);
        if (it == m_index.end())
            return;
        m_cost -= it->second->cost;
        m_order.erase(it->second);
        m_index.erase(it);
    }

    void clear()
    {
        m_order.clear();
        m_index.clear();
        m_cost = 0;
    }

    [[nodiscard]] size_t cost() const { return m_cost; }
    [[nodiscard]] size_t size() const { return m_index.size(); }
    [[nodiscard]] size_t hits() const { return m_hits; }
    [[nodiscard]] size_t misses() const { return m_misses; }

private:
    struct Entry {
        Key key;
        std::shared_ptr<const Value> value;
        size_t cost = 0;
    };
    using Order = std::list<Entry>;

    size_t m_budget = 0;
    size_t m_cost = 0;
    size_t m_hits = 0;
    size_t m_misses = 0;
    Order m_order;
    std::unordered_map<Key, typename Order::iterator, Hash> m_index;
};

} // namespace flash
