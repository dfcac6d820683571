#include "kx/foundation/KxChkLst.h"

#include <utility>

#include "classlib/SysUtils.h"

// ---------------------------------------------------------------------------
// Line format

std::string CheckListItemLine(const std::string& text, const TPacket& packet) {
  return Format("&%d %d %s %s", {packet.Enabled ? 1 : 0, static_cast<int>(packet.State), text, "\r\n"});
}

void ReadCheckListItemLine(const std::string& line, TPacket& packet, std::string& text) {
  packet = TPacket{};
  if (line.empty() || line[0] != '&') {
    text = line;
    return;
  }
  packet.Enabled = line.size() >= 2 && line[1] == '1';
  if (line.size() >= 4) {
    // The state digit goes through StrToInt, so that anything but a number
    // fails with the class library's conversion error.
    int state = StrToInt(std::string(1, line[3]));
    packet.State = state >= cbUnchecked && state <= cbGrayed ? static_cast<uint8_t>(state) : uint8_t{cbUnchecked};
  }
  text = line.size() > 5 ? line.substr(5) : std::string();
}

// ---------------------------------------------------------------------------
// TPacketStringList

IMPLEMENT_CLASS(TPacketStringList)

TPacket TPacketStringList::GetPacket(int index) const {
  if (index < 0 || index >= static_cast<int>(packets_.size())) Error(SListIndexError, index);
  return packets_[static_cast<size_t>(index)];
}

void TPacketStringList::SetPacket(int index, const TPacket& packet) {
  if (index < 0 || index >= static_cast<int>(packets_.size())) Error(SListIndexError, index);
  packets_[static_cast<size_t>(index)] = packet;
}

void TPacketStringList::InsertItem(int index, const std::string& s, TObject* obj) {
  int before = GetCount();
  try {
    inherited::InsertItem(index, s, obj);
  } catch (...) {
    // A change event that raised after the string went in: its packet goes
    // in too, so that the two lists stay in step.
    if (GetCount() > before) packets_.insert(packets_.begin() + index, TPacket{});
    throw;
  }
  packets_.insert(packets_.begin() + index, TPacket{});
}

void TPacketStringList::Delete(int index) {
  int before = GetCount();
  try {
    inherited::Delete(index);
  } catch (...) {
    if (GetCount() < before) packets_.erase(packets_.begin() + index);
    throw;
  }
  packets_.erase(packets_.begin() + index);
}

void TPacketStringList::Clear() {
  try {
    inherited::Clear();
  } catch (...) {
    if (GetCount() == 0) packets_.clear();
    throw;
  }
  packets_.clear();
}

void TPacketStringList::Exchange(int index1, int index2) {
  inherited::Exchange(index1, index2);
  std::swap(packets_[static_cast<size_t>(index1)], packets_[static_cast<size_t>(index2)]);
}

void TPacketStringList::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  TPacket packet = GetPacket(curIndex);
  inherited::Move(curIndex, newIndex);
  packets_[static_cast<size_t>(newIndex)] = packet;
}

void TPacketStringList::AddStrings(TStrings* strings) {
  BeginUpdate();
  try {
    const int count = strings->GetCount();
    for (int i = 0; i < count; ++i) {
      TPacket packet;
      bool hasPacket = GetPacketOf(strings, i, packet);
      int index = AddObject(strings->Get(i), strings->GetObject(i));
      if (hasPacket) packets_[static_cast<size_t>(index)] = packet;
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

bool GetPacketOf(TStrings* strings, int index, TPacket& packet) {
  if (auto* list = dynamic_cast<TPacketStringList*>(strings)) {
    packet = list->GetPacket(index);
    return true;
  }
  return false;
}
