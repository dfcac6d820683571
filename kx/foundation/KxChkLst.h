// The check list's item strings: a check state and an enabled flag beside
// every item, the text line format that carries both, and the string list
// that keeps them while the check list's window is re-created.
//
// Line format (one item per line, lines ended by CR LF): "&", the enabled
// digit (0 or 1), a blank, the state digit (0 unchecked, 1 checked,
// 2 grayed), a blank, the text, one more blank. Files written by earlier
// versions carry that trailing blank and readers keep it as part of the
// text, so the writer keeps adding it. A line without the leading "&" is a
// plain, enabled, unchecked item.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/StdCtrls.h"

// The per-item state of a check list: one check state and one enabled flag.
struct TPacket {
  uint8_t State = cbUnchecked;  // a TCheckBoxState
  bool Enabled = true;
};

// The line that SaveToStream writes for one item, CR LF included.
std::string CheckListItemLine(const std::string& text, const TPacket& packet);
// Reads one line of the format into packet and text. A line that begins with
// "&" gives its flags and the text after its fifth character; any other line
// is the text of an enabled, unchecked item. A state digit out of 0..2 reads
// as unchecked; a fourth character that is no number raises EConvertError.
void ReadCheckListItemLine(const std::string& line, TPacket& packet, std::string& text);

// A string list with a packet beside every string: the check list holds its
// items in one while its window is destroyed and made again. The packets
// follow their strings through inserts, deletes, exchanges and moves.
class TPacketStringList : public TStringList {
  DECLARE_CLASS(TPacketStringList, TStringList)

  // The packet of item index; raises EStringListError for a bad index.
  TPacket GetPacket(int index) const;
  void SetPacket(int index, const TPacket& packet);

  void InsertItem(int index, const std::string& s, TObject* obj) override;
  void Delete(int index) override;
  void Clear() override;
  void Exchange(int index1, int index2) override;
  void Move(int curIndex, int newIndex) override;
  // Texts and objects, and, from a list that keeps packets, their packets.
  void AddStrings(TStrings* strings) override;

 private:
  std::vector<TPacket> packets_;
};

// The packet of item index of a list that keeps packets (a check list's
// items or a TPacketStringList); false for any other list.
bool GetPacketOf(TStrings* strings, int index, TPacket& packet);
