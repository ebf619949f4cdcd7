// What the six script data structures share: how a value is kept in a slot,
// how two values compare under the precision, and how one is combined into
// another. The structures themselves live in the Support_Data_Structures_*
// files; they know nothing of scripts or of the tables that index them.
#pragma once
#include <cstdint>

#include "Base/RValue.h"

class CStream;

// The comparison tolerance shared by every structure (initially 1e-8);
// stores the absolute value of its argument.
void DS_SetPrecision(double precision);
double DS_GetPrecision();

// -1, 0 or 1 as a comes before, equals or comes after b. Two plain reals are
// compared in single precision within the tolerance; anything else is
// compared as text, and a value that is not a string comes after everything.
int DS_Compare(const RValue* a, const RValue* b);

enum : int { DS_OP_SET = 1, DS_OP_ADD = 2, DS_OP_MULTIPLY = 3 };
// Combines src into dest: set, add (reals add, strings join, differing kinds
// set) or multiply (reals only). dest and src may be the same value.
void DS_Combine(int op, RValue* dest, const RValue* src);

// Slots: whole values kept by value, each owning its text.
// Stores a copy of src: its kind and real always, its text only when it is a
// string (the slot's buffer is reused when large enough). src may be slot.
void DS_Slot_Store(RValue* slot, const RValue* src);
// Frees the slot's text; kind and real stay.
void DS_Slot_DropText(RValue* slot);
// Resizes a slot array from oldCount to newCount slots: the texts of dropped
// slots are freed, new slots are the real 0. False (array unchanged) when the
// memory cannot be had.
bool DS_Slots_Resize(RValue** slots, int64_t oldCount, int64_t newCount);
// Frees the texts of every slot of the array, then the array.
void DS_Slots_Free(RValue** slots);
// The number of slots the array holds (0 for none).
int64_t DS_Slots_Length(const RValue* slots);

// The stream text form shared by stacks, queues, lists, priority queues and
// grids: a versioned little-endian record written as upper-case hex text.
constexpr int32_t DS_HEADER_STACK = 101;
constexpr int32_t DS_HEADER_QUEUE = 201;
constexpr int32_t DS_HEADER_LIST = 301;
constexpr int32_t DS_HEADER_PRIORITY = 501;
constexpr int32_t DS_HEADER_GRID = 601;
// Smallest size of a value record: kind, real and the string's length.
constexpr int64_t DS_RECORD_MIN = 16;

void DS_Stream_WriteValue(CStream& s, const RValue* v);
// Reads a value record into an empty slot (real 0, no text). False, the slot
// left as it was, when the record does not fit in what remains.
bool DS_Stream_ReadValue(CStream& s, RValue* slot);
// Reads n records into a new array (none for n = 0); false, nothing kept,
// when they do not all fit.
bool DS_Stream_ReadValues(CStream& s, int64_t n, RValue** out);
// Reads an integer; false when fewer than four bytes remain.
bool DS_Stream_ReadInteger(CStream& s, int32_t* out);
// True when n records of at least DS_RECORD_MIN bytes can still follow.
bool DS_Stream_Fits(const CStream& s, int64_t records);
// Decodes a text into the stream and checks its header.
bool DS_Stream_Open(CStream& s, const char* text, int32_t header);
