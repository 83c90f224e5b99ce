// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/WireOrder.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iterator>
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
// in network order, or little-endian in a record that says so with
//       static constexpr wire::Order WIRE_ORDER = wire::Order::Little; std::array and C arrays of
//       those travel element by element; std::array of
// uint8_t or char and C arrays of uint8_t travel as raw bytes (texts stay in their own code page).
// A C array of char is a zero-ended text: it travels as raw bytes, may travel cut short (a third
// value in its Field names how many of its first bytes travel), and it is always ended inside
// what travels, by the writer and again by the reader, so that a text too long for its field or
// a peer filling the field cannot make anybody read past it.
// Bytes that no field covers are sent as 0 and not read, and a reader needs the bytes only up to
// the end of the last field.
namespace kelo::wire {

// The order of a record's integers on the wire.
enum class Order { Network, Little };

namespace detail {

template <class Record> constexpr Order OrderOf() {
    if constexpr (requires { Record::WIRE_ORDER; })
        return Record::WIRE_ORDER;
    else
        return Order::Network;
}

template <class T>
constexpr bool IS_INTEGER = std::is_same_v<T, uint16_t> || std::is_same_v<T, int16_t> ||
                            std::is_same_v<T, uint32_t> || std::is_same_v<T, int32_t>;
template <class T> constexpr bool IS_BYTE = std::is_same_v<T, uint8_t> || std::is_same_v<T, char>;
// char[N]: a text.
template <class T>
constexpr bool IS_TEXT =
    std::is_array_v<T>&& std::rank_v<T> == 1 && std::is_same_v<std::remove_extent_t<T>, char>;

template <class T> struct IsArray : std::false_type {};
template <class E, size_t N> struct IsArray<std::array<E, N>> : std::true_type {};
template <class E, size_t N> struct IsArray<E[N]> : std::true_type {};

template <class T> using Element = std::remove_cvref_t<decltype(std::declval<T&>()[0])>;

template <class T> constexpr size_t Width() {
    if constexpr (IS_INTEGER<T> || IS_BYTE<T>) {
        return sizeof(T);
    } else {
        static_assert(IsArray<T>::value,
                      "a wire field is a byte, a 16- or 32-bit integer, or an array of them");
        using E = Element<T>;
        static_assert(IS_INTEGER<E> || IS_BYTE<E>, "array elements are integers or bytes");
        if constexpr (std::is_array_v<T>)
            return std::extent_v<T> * sizeof(E);
        else
            return std::tuple_size_v<T> * sizeof(E);
    }
}

} // namespace detail

template <class Record, class T> struct Field {
    using Type = T;
    size_t offset;
    T Record::*member;
    // A text may travel cut short: only its first bytes (0: the whole field).
    size_t bytes = 0;

    constexpr size_t Width() const { return bytes != 0 ? bytes : detail::Width<T>(); }
    // A cut-short width belongs to a text and lies inside it.
    constexpr bool Valid() const {
        return bytes == 0 || (detail::IS_TEXT<T> && bytes <= detail::Width<T>());
    }
};
template <class Record, class T> Field(size_t, T Record::*) -> Field<Record, T>;
template <class Record, class T> Field(size_t, T Record::*, size_t) -> Field<Record, T>;

namespace detail {

template <Order O, class T> void Put(uint8_t* p, const T& v) {
    if constexpr (IS_BYTE<T>) {
        *p = static_cast<uint8_t>(v);
    } else if constexpr (IS_INTEGER<T> && sizeof(T) == 2) {
        O == Order::Little ? PutU16Le(p, static_cast<uint16_t>(v))
                           : PutU16(p, static_cast<uint16_t>(v));
    } else if constexpr (IS_INTEGER<T> && sizeof(T) == 4) {
        O == Order::Little ? PutU32Le(p, static_cast<uint32_t>(v))
                           : PutU32(p, static_cast<uint32_t>(v));
    } else {
        constexpr size_t step = Width<Element<T>>();
        for (size_t i = 0; i < std::size(v); ++i)
            Put<O>(p + i * step, v[i]);
    }
}

template <Order O, class T> void Get(const uint8_t* p, T& v) {
    if constexpr (IS_BYTE<T>) {
        v = static_cast<T>(*p);
    } else if constexpr (IS_INTEGER<T> && sizeof(T) == 2) {
        v = static_cast<T>(O == Order::Little ? GetU16Le(p) : GetU16(p));
    } else if constexpr (IS_INTEGER<T> && sizeof(T) == 4) {
        v = static_cast<T>(O == Order::Little ? GetU32Le(p) : GetU32(p));
    } else {
        constexpr size_t step = Width<Element<T>>();
        for (size_t i = 0; i < std::size(v); ++i)
            Get<O>(p + i * step, v[i]);
    }
}

template <class Record, class T>
void PutField(uint8_t* out, const Record& record, const Field<Record, T>& field) {
    if constexpr (IS_TEXT<T>) {
        const size_t width = field.Width();
        std::memcpy(out + field.offset, record.*field.member, width - 1);
        out[field.offset + width - 1] = 0;
    } else {
        Put<OrderOf<Record>()>(out + field.offset, record.*field.member);
    }
}

template <class Record, class T>
void GetField(const uint8_t* p, Record& record, const Field<Record, T>& field) {
    if constexpr (IS_TEXT<T>) {
        const size_t width = field.Width();
        std::memcpy(record.*field.member, p + field.offset, width);
        (record.*field.member)[width - 1] = 0;
    } else {
        Get<OrderOf<Record>()>(p + field.offset, record.*field.member);
    }
}

// The [offset, end) span of every field of a record.
template <class Record> constexpr auto Spans() {
    return std::apply(
        [](const auto&... f) {
            return std::array<std::array<size_t, 2>, sizeof...(f)>{
                {{f.offset, f.offset + f.Width()}...}};
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
        [&](const auto&... f) { ((end = IsFieldOf(f, member) ? f.offset + f.Width() : end), ...); },
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

// True when every field lies inside size bytes, no two fields share a byte and every cut-short
// width belongs to a text that holds it.
template <class Record> constexpr bool LayoutFits(size_t size) {
    if (!std::apply([](const auto&... f) { return (f.Valid() && ...); }, Record::WIRE_FIELDS))
        return false;
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
    std::apply([&](const auto&... f) { (detail::PutField(out.data(), record, f), ...); },
               Record::WIRE_FIELDS);
    return out;
}

// Fills the fields of record from FieldsEnd<Record>() bytes; the caller has made sure they are
// there. Members outside the table keep their values.
template <class Record> void DecodeInto(const uint8_t* p, Record& record) {
    static_assert(LayoutFits<Record>(FieldsEnd<Record>()), "fields overlap");
    std::apply([&](const auto&... f) { (detail::GetField(p, record, f), ...); },
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
                    if (f.offset + f.Width() <= length)
                        detail::GetField(p, out, f);
                }(),
                ...);
        },
        Record::WIRE_FIELDS);
    return true;
}

} // namespace kelo::wire
