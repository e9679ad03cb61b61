// A logged message as the Messages window shows it and as it is copied and
// saved: its fields in a fixed order, each as text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "msglog/message_store.h"

namespace vexlan {

// The fields of a record, in the order lines hold them.
enum class LogField { Number, Time, Kind, Window, Message, WParam, LParam, Result, Details };
inline constexpr int kLogFieldCount = 9;

// Field `field` of the store's record `index`: the number; milliseconds
// since the log started; S, R or P; the window's handle in decimal; the
// message's name; wParam and lParam in hexadecimal (8 digits, 16 when the
// value needs them); the result of an R record (empty for the others);
// the parameters decoded, for the messages Vexlan knows.
std::string FieldText(const MessageStore& store, std::size_t index, LogField field);

// The parameters of `m` decoded ("x=10 y=20 MK_LBUTTON", "id=1001 code=0
// control=4660", "text=\"Hello\""...); empty for messages without a
// decoding.
std::string DescribeParameters(const LoggedMessage& m, const MessageExtra* extra);

// Every field of record `index`, separated by a tab.
std::string RecordLine(const MessageStore& store, std::size_t index);

// The shown records as text, one a line, lines separated by CR LF; when
// records were lost, a last line `lost` TAB their number.
std::string LogText(const MessageStore& store, std::uint64_t lost);

}  // namespace vexlan
