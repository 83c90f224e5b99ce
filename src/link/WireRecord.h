#pragma once

#include "link/WireOrder.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <tuple>
#include <type_traits>

// A message record writes its layout down once, as a table of fields; both directions are made
// from that table, so the offsets of a body can never differ between the side that writes it and
// the side that reads it.
//
//   struct MSG_EXAMPLE_BODY {
//       static constexpr size_t SIZE = 8;
//       uint32_t id = 0;
//       uint16_t seatno = 0;
//       static constexpr auto WIRE_FIELDS = std::tuple{
//           wire::Field{0, &MSG_EXAMPLE_BODY::id},
//           wire::Field{4, &MSG_EXAMPLE_BODY::seatno},
//       };
//       std::array<uint8_t, SIZE> ToWire() const { return wire::Encode(*this); }
//       static bool FromWire(const uint8_t* p, size_t length, MSG_EXAMPLE_BODY& out) {
//           return wire::Decode(p, length, out);
//       }
//   };
//
// A field's width follows from its member's type: uint16_t, int16_t, uint32_t and int32_t travel
// in network order; std::array of those travels element by element; std::array of uint8_t or
// char travels as raw bytes (texts stay in their own code page). Bytes that no field covers are
// sent as 0 and not read, and a reader needs the bytes only up to the end of the last field.
namespace kelo::wire {

template <class Record, class T> struct Field {
    using Type = T;
    size_t offset;
    T Record::*member;
};
template <class Record, class T> Field(size_t, T Record::*) -> Field<Record, T>;

namespace detail {

template <class T>
constexpr bool IS_INTEGER = std::is_same_v<T, uint16_t> || std::is_same_v<T, int16_t> ||
                            std::is_same_v<T, uint32_t> || std::is_same_v<T, int32_t>;
template <class T> constexpr bool IS_BYTE = std::is_same_v<T, uint8_t> || std::is_same_v<T, char>;

template <class T> struct IsArray : std::false_type {};
template <class E, size_t N> struct IsArray<std::array<E, N>> : std::true_type {};

template <class T> constexpr size_t Width() {
    if constexpr (IS_INTEGER<T> || IS_BYTE<T>) {
        return sizeof(T);
    } else {
        static_assert(IsArray<T>::value,
                      "a wire field is a byte, a 16- or 32-bit integer, or an array of them");
        using E = typename T::value_type;
        static_assert(IS_INTEGER<E> || IS_BYTE<E>, "array elements are integers or bytes");
        return std::tuple_size_v<T> * sizeof(E);
    }
}

template <class T> void Put(uint8_t* p, const T& v) {
    if constexpr (IS_BYTE<T>) {
        *p = static_cast<uint8_t>(v);
    } else if constexpr (IS_INTEGER<T> && sizeof(T) == 2) {
        PutU16(p, static_cast<uint16_t>(v));
    } else if constexpr (IS_INTEGER<T> && sizeof(T) == 4) {
        PutU32(p, static_cast<uint32_t>(v));
    } else {
        constexpr size_t step = Width<typename T::value_type>();
        for (size_t i = 0; i < v.size(); ++i)
            Put(p + i * step, v[i]);
    }
}

template <class T> void Get(const uint8_t* p, T& v) {
    if constexpr (IS_BYTE<T>) {
        v = static_cast<T>(*p);
    } else if constexpr (IS_INTEGER<T> && sizeof(T) == 2) {
        v = static_cast<T>(GetU16(p));
    } else if constexpr (IS_INTEGER<T> && sizeof(T) == 4) {
        v = static_cast<T>(GetU32(p));
    } else {
        constexpr size_t step = Width<typename T::value_type>();
        for (size_t i = 0; i < v.size(); ++i)
            Get(p + i * step, v[i]);
    }
}

// The [offset, end) span of every field of a record.
template <class Record> constexpr auto Spans() {
    return std::apply(
        [](const auto&... f) {
            return std::array<std::array<size_t, 2>, sizeof...(f)>{
                {{f.offset,
                  f.offset + Width<typename std::remove_cvref_t<decltype(f)>::Type>()}...}};
        },
        Record::WIRE_FIELDS);
}

// True when field is member's entry in the table.
template <class Record, class T, class U>
constexpr bool IsFieldOf(const Field<Record, T>& field, U Record::*member) {
    if constexpr (std::is_same_v<T, U>)
        return field.member == member;
    else
        return false;
}

// The end of member's field in Record's table; 0 when the table has no field for it.
template <class Record, class T> constexpr size_t FieldEnd(T Record::*member) {
    size_t end = 0;
    std::apply(
        [&](const auto&... f) {
            ((end = IsFieldOf(f, member) ? f.offset + Width<T>() : end), ...);
        },
        Record::WIRE_FIELDS);
    return end;
}

} // namespace detail

// The bytes a reader needs: up to the end of the last field.
template <class Record> constexpr size_t FieldsEnd() {
    size_t end = 0;
    for (const auto& span : detail::Spans<Record>())
        end = span[1] > end ? span[1] : end;
    return end;
}

// True when every field lies inside size bytes and no two fields share a byte.
template <class Record> constexpr bool LayoutFits(size_t size) {
    constexpr auto spans = detail::Spans<Record>();
    for (size_t i = 0; i < spans.size(); ++i) {
        if (spans[i][1] > size)
            return false;
        for (size_t j = i + 1; j < spans.size(); ++j)
            if (spans[i][0] < spans[j][1] && spans[j][0] < spans[i][1])
                return false;
    }
    return true;
}

template <class Record, size_t Size = Record::SIZE>
std::array<uint8_t, Size> Encode(const Record& record) {
    static_assert(LayoutFits<Record>(Size), "fields overlap or lie past the body's size");
    std::array<uint8_t, Size> out{};
    std::apply(
        [&](const auto&... f) { (detail::Put(out.data() + f.offset, record.*f.member), ...); },
        Record::WIRE_FIELDS);
    return out;
}

// Fills the fields of record from FieldsEnd<Record>() bytes; the caller has made sure they are
// there. Members outside the table keep their values.
template <class Record> void DecodeInto(const uint8_t* p, Record& record) {
    static_assert(LayoutFits<Record>(FieldsEnd<Record>()), "fields overlap");
    std::apply([&](const auto&... f) { (detail::Get(p + f.offset, record.*f.member), ...); },
               Record::WIRE_FIELDS);
}

template <class Record> Record Decode(const uint8_t* p) {
    Record record{};
    DecodeInto(p, record);
    return record;
}

// False, leaving out as it was, when length does not reach the end of the last field.
template <class Record> bool Decode(const uint8_t* p, size_t length, Record& out) {
    if (p == nullptr || length < FieldsEnd<Record>())
        return false;
    DecodeInto(p, out);
    return true;
}

// For a reader that needs a record's fields only up to Member's: a body is enough when it
// reaches the end of Member's field, even if it stops short of the record. False, leaving out as
// it was, when it does not; otherwise fills every field that lies inside length bytes and leaves
// the others as they were.
//
//   MSG_EXAMPLE_BODY example;
//   if (wire::DecodeThrough<&MSG_EXAMPLE_BODY::id>(p, length, example)) ...
template <auto Member, class Record>
bool DecodeThrough(const uint8_t* p, size_t length, Record& out) {
    constexpr size_t needed = detail::FieldEnd(Member);
    static_assert(needed != 0, "the member has no field in the record's table");
    if (p == nullptr || length < needed)
        return false;
    std::apply(
        [&](const auto&... f) {
            (
                [&] {
                    using T = typename std::remove_cvref_t<decltype(f)>::Type;
                    if (f.offset + detail::Width<T>() <= length)
                        detail::Get(p + f.offset, out.*f.member);
                }(),
                ...);
        },
        Record::WIRE_FIELDS);
    return true;
}

} // namespace kelo::wire
