// The ways a user picks a combo box's item (its index set by the program, an
// arrow key, the dropped list closed by Enter or by a click, the typed
// beginning of the item completed), shared by the tests of every library's
// combo boxes: each way makes the system's combo procedure read the item
// from its list, and what the control shows and reads back must be the item
// whole, however long.
#pragma once

#include <functional>
#include <string>

#include "classlib/StdCtrls.h"

namespace combo_test {

enum class TPick { ItemIndex, ArrowKey, DropAndEnter, DropAndClick, TypedPrefix };
inline constexpr TPick kPicks[] = {TPick::ItemIndex, TPick::ArrowKey, TPick::DropAndEnter, TPick::DropAndClick,
                                   TPick::TypedPrefix};
const char* PickName(TPick pick);

// Picks item index of combo the way given; prefix is what TypedPrefix types
// (it must begin that item and no item before it).
void PickItem(TCustomComboBox* combo, int index, TPick pick, const std::string& prefix);

// A new combo box of the style, with no items, on a window of the test's.
using TMakeCombo = std::function<TCustomComboBox*(TComboBoxStyle style)>;

// What Enter does to the list besides closing it.
enum class TEnter { KeepsTheList, MovesTheTextFirst /* a history box */ };

// For each long text length and each way of picking, a new combo box of
// each style holding "apple", the long text and "zucchini" picks the long
// item: its index, its text, the items and its painted face come back
// whole. The combo boxes are freed.
void ExpectLongItemsPickedWhole(const TMakeCombo& make, std::initializer_list<TComboBoxStyle> styles,
                                TEnter enter = TEnter::KeepsTheList);

}  // namespace combo_test
