// The text of a string list's file: what is left of a stream read at once,
// and the lines of a text as string lists split them (a line ends at CR,
// LF or CR LF; a last line without an end counts, an empty text has none).
// For readers of line formats that want the lines without a string list.
//
// Surface for component writers (readers of line formats split text as string
// lists do with these): include it directly; it changes only as the unit
// headers do.
#pragma once

#include <string>
#include <string_view>

class TStream;

// Reads from the stream's position to its end.
std::string ReadRestOfStream(TStream* stream);

// Calls f with each line of text (without its end), in order.
template <class F>
void ForEachTextLine(std::string_view text, F&& f) {
  size_t pos = 0;
  const size_t n = text.size();
  while (pos < n) {
    size_t start = pos;
    while (pos < n && text[pos] != '\r' && text[pos] != '\n') ++pos;
    f(text.substr(start, pos - start));
    if (pos < n && text[pos] == '\r') ++pos;
    if (pos < n && text[pos] == '\n') ++pos;
  }
}
