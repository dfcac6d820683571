#include "app/LanguageTables.h"

namespace {
// Rows: German, English, Spanish, French, Italian, Dutch. Columns: the
// language's own name, then the captions of launch buttons 1 to 3.
const wchar_t* const kTables[BuiltInLanguageCount][4] = {
    {L"Deutsch", L"Handbuch", L"Treiber", L"Acrobat Reader"},
    {L"English", L"Manual", L"Driver", L"Acrobat Reader"},
    {L"Espa\u00f1ol", L"Instrucci\u00f3nes de Uso", L"Driver", L"Acrobat Reader"},
    {L"Fran\u00e7ais", L"Manuel", L"Pilote", L"Acrobat Reader"},
    {L"Italiano", L"Manuale", L"Driver", L"Acrobat Reader"},
    {L"Nederlands", L"Handboek", L"Driver", L"Acrobat Reader"},
};
}  // namespace

const wchar_t* BuiltInCaption(TCaptionTable table, int row) {
  if (row < 0 || row >= BuiltInLanguageCount) return nullptr;
  return kTables[row][table];
}
