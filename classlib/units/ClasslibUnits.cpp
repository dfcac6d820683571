#include "classlib/Units.h"
#include "classlib/controls/ControlsUnit.h"
#include "classlib/extctrls/ExtCtrlsUnit.h"
#include "classlib/forms/FormsUnit.h"

#include "classlib/ImgList.h"
#include "classlib/Jpeg.h"
#include "classlib/SysUtils.h"
#include "classlib/buttons/ButtonsUnit.h"
#include "classlib/comctrls/ComCtrlsUnit.h"
#include "classlib/dialogs/DialogsUnit.h"
#include "classlib/classes/Filer.h"
#include "classlib/graphics/GraphicsUnit.h"
#include "classlib/graphics/Icon.h"
#include "classlib/graphics/Metafile.h"
#include "classlib/mask/MaskUnit.h"
#include "classlib/menus/MenusUnit.h"
#include "classlib/printers/Printer.h"
#include "classlib/stdactns/StdActnsUnit.h"
#include "classlib/stdctrls/StdCtrlsUnit.h"

// The class library's units that have start-up work, in start-up order.
// A unit adds its entry here; the program and the test mains run this list
// first and finalise it last.
const std::vector<TUnitEntry>& ClasslibUnits() {
  static const std::vector<TUnitEntry> units = {
      {"SysUtils", &SysUtils::Initialize, nullptr},
      // Finalisation runs in reverse order, so this early entry deletes the
      // window-property atoms after every later unit (the Unicode layer
      // included) has finalised; the Controls entry below adds them.
      {"ControlAtoms", nullptr, FinalizeControlAtoms},
      {"Classes.Filer", nullptr, &FinalizeFiler},
      {"Graphics", InitializeGraphics, FinalizeGraphics},
      // The picture formats of the Graphics and Jpeg units, and the image
      // lists with the common controls under them.
      {"GraphicFormats",
       [] {
         InitializeIcon();
         InitializeMetafile();
         InitializeJpeg();
         InitializeImgList();
       },
       [] {
         FinalizeJpeg();
         FinalizeMetafile();
         FinalizeIcon();
       }},
      {"Controls", InitializeControls, nullptr},
      {"Menus", InitializeMenus, FinalizeMenus},
      // The screen and the application object; finalised first of these,
      // so every form goes while the units it needs are still there.
      {"Forms", InitializeForms, FinalizeForms},
      {"StdCtrls", InitializeStdCtrls, nullptr},
      {"ExtCtrls", InitializeExtCtrls, nullptr},
      {"Buttons", InitializeButtons, nullptr},
      {"ComCtrls", InitializeComCtrls, FinalizeComCtrls},
      {"Mask", InitializeMask, nullptr},
      {"Dialogs", InitializeDialogs, nullptr},
      {"StdActns", InitializeStdActns, nullptr},
      // The printer object is made on first use; nothing at start-up.
      {"Printers", nullptr, FinalizePrinters},
  };
  return units;
}
