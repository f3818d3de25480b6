// Stand-in for std::expected where the compiler cannot build the standard one
// (clang 14 with libstdc++ 12). Used only by the fuzz build; covers exactly
// what the engine uses. Real compilers skip it through __cpp_lib_expected.
#pragma once

#include <expected>

#if !defined(__cpp_lib_expected)

#include <utility>
#include <variant>

namespace std {

template<typename E>
class unexpected {
public:
    constexpr explicit unexpected(E e) : m_error(std::move(e)) { }
    constexpr const E& error() const& { return m_error; }
    constexpr E& error() & { return m_error; }
    constexpr E&& error() && { return std::move(m_error); }

private:
    E m_error;
};

template<typename E>
unexpected(E) -> unexpected<E>;

template<typename T, typename E>
class expected {
public:
    using value_type = T;
    using error_type = E;

    constexpr expected() requires std::is_default_constructible_v<T> : m_storage(std::in_place_index<0>) { }
    template<typename U = T>
        requires(std::is_constructible_v<T, U&&> && !std::is_same_v<std::remove_cvref_t<U>, expected>
                 && !std::is_same_v<std::remove_cvref_t<U>, unexpected<E>>)
    constexpr expected(U&& value) : m_storage(std::in_place_index<0>, std::forward<U>(value)) { }
    template<typename G>
    constexpr expected(const unexpected<G>& u) : m_storage(std::in_place_index<1>, u.error()) { }
    template<typename G>
    constexpr expected(unexpected<G>&& u) : m_storage(std::in_place_index<1>, std::move(u).error()) { }

    constexpr bool has_value() const { return m_storage.index() == 0; }
    constexpr explicit operator bool() const { return has_value(); }
    constexpr T& operator*() & { return std::get<0>(m_storage); }
    constexpr const T& operator*() const& { return std::get<0>(m_storage); }
    constexpr T&& operator*() && { return std::get<0>(std::move(m_storage)); }
    constexpr T* operator->() { return &std::get<0>(m_storage); }
    constexpr const T* operator->() const { return &std::get<0>(m_storage); }
    constexpr T& value() & { return std::get<0>(m_storage); }
    constexpr const T& value() const& { return std::get<0>(m_storage); }
    constexpr E& error() & { return std::get<1>(m_storage); }
    constexpr const E& error() const& { return std::get<1>(m_storage); }
    template<typename U>
    constexpr T value_or(U&& fallback) const& { return has_value() ? **this : T(std::forward<U>(fallback)); }

private:
    std::variant<T, E> m_storage;
};

template<typename E>
class expected<void, E> {
public:
    constexpr expected() = default;
    template<typename G>
    constexpr expected(const unexpected<G>& u) : m_error(u.error()), m_hasValue(false) { }
    constexpr bool has_value() const { return m_hasValue; }
    constexpr explicit operator bool() const { return m_hasValue; }
    constexpr const E& error() const& { return m_error; }

private:
    E m_error{};
    bool m_hasValue = true;
};

} // namespace std

#endif
