#pragma once

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <optional>
#include <vector>

// Lists cross as JavaScript arrays and an absent value as null, copied like any value object: embind's
// register_vector would hand the page a C++ object to read item by item and to delete.
namespace emscripten::internal {

template <typename T> struct TypeID<std::vector<T>> {
    static constexpr TYPEID get() { return TypeID<val>::get(); }
};
template <typename T> struct BindingType<std::vector<T>> {
    using WireType = BindingType<val>::WireType;
    static WireType toWireType(const std::vector<T>& items)
    {
        val array = val::array();
        for (const T& item : items)
            array.call<void>("push", val(item));
        return BindingType<val>::toWireType(array);
    }
    static std::vector<T> fromWireType(WireType array)
    {
        return vecFromJSArray<T>(BindingType<val>::fromWireType(array));
    }
};

template <typename T> struct TypeID<std::optional<T>> {
    static constexpr TYPEID get() { return TypeID<val>::get(); }
};
template <typename T> struct BindingType<std::optional<T>> {
    using WireType = BindingType<val>::WireType;
    static WireType toWireType(const std::optional<T>& value)
    {
        return BindingType<val>::toWireType(value ? val(*value) : val::null());
    }
    static std::optional<T> fromWireType(WireType wire)
    {
        const val value = BindingType<val>::fromWireType(wire);
        return value.isNull() || value.isUndefined() ? std::nullopt : std::optional<T>(value.as<T>());
    }
};

} // namespace emscripten::internal
