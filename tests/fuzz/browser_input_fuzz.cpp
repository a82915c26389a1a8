// The browser dialog on a sample project, in each mode, under whatever a person might do with the
// pointer and the keyboard in whatever order: clicks, double and slow clicks, drags, the wheel
// (sideways too), keys, typing, the toolbar, the column headers, context menus and a resized
// window.
#include "dialog/explorer_dialog.h"
#include "host/host.h"
#include "host/project.h"
#include "host/sample.h"
#include "interface/explorer.h"
#include "platform/app.h"
#include "platform/headless/test_driver.h"
#include "resources/resource_ids.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/support/temp_dir.h"

#include <cstdlib>
#include <memory>
#include <string>

namespace {

constexpr int kMostActions = 60;

constexpr UINT kKeys[] = {VK_UP,       VK_DOWN,     VK_LEFT,   VK_RIGHT, VK_HOME,   VK_END,
                          VK_PRIOR,    VK_NEXT,     VK_ADD,    VK_BACK,  VK_F2,     VK_SPACE,
                          VK_MULTIPLY, VK_SUBTRACT, VK_DELETE, VK_TAB,   VK_RETURN, VK_ESCAPE,
                          VK_INSERT,   'A',         'C',       'V',      'X',       'Z'};
constexpr UINT kModifiers[] = {0, MK_SHIFT, MK_CONTROL};
constexpr UINT kToolbarCommands[] = {ID_VIEW_LARGE_ICONS, ID_VIEW_SMALL_ICONS, ID_VIEW_LIST,
                                     ID_VIEW_DETAILS, ID_INFO_PANE};

struct Fixture {
    Fixture() {
        if (!EXPL_Init(&project->database(), refhost::Host::Callbacks(), 0))
            std::abort();
        refhost::PopulateSample(*project, {.folders = 16, .chunks = 60, .seed = 3});
    }

    CWinApp app;
    TempDir dir;
    std::unique_ptr<refhost::Project> project = refhost::Project::Create(dir.File("project.db"));
    refhost::Host host{project->database()};
};

// A point in or a little beyond the window's client area.
CPoint PointIn(CWnd& window, FuzzInput& in) {
    CRect client;
    window.GetClientRect(&client);
    const long x = client.Width() * in.Byte() / 230;
    const long y = client.Height() * in.Byte() / 230;
    return {x, y};
}

CWnd& TreeOrList(ExplorerDialog& dialog, std::uint8_t choice) {
    return choice & 1 ? static_cast<CWnd&>(dialog.m_list) : static_cast<CWnd&>(dialog.m_tree);
}

void Act(UiDriver& d, ExplorerDialog& dialog, FuzzInput& in) {
    const std::uint8_t action = in.Byte();
    CWnd& target = TreeOrList(dialog, action >> 4);
    switch (action % 12) {
    case 0:
        d.Click(target, PointIn(target, in), in.Byte() & 1 ? MK_CONTROL : 0);
        break;
    case 1:
        d.DoubleClick(target, PointIn(target, in));
        break;
    case 2:
        d.SlowClick(target, PointIn(target, in));
        break;
    case 3:
        d.RightClick(target, PointIn(target, in));
        break;
    case 4: {
        const CPoint from = PointIn(target, in);
        const CPoint through = PointIn(target, in);
        d.Drag(target, from, {through}, PointIn(target, in));
        break;
    }
    case 5: {
        const CPoint at = PointIn(target, in);
        const std::uint8_t turn = in.Byte();
        if (turn & 0x80) // tilted sideways
            d.MouseWheelSideways(target, at, static_cast<int>(turn % 7) - 3);
        else
            d.MouseWheel(target, at, static_cast<int>(turn % 7) - 3);
        break;
    }
    case 6:
        d.PressKey(kKeys[in.Byte() % std::size(kKeys)], kModifiers[in.Byte() % 3]);
        break;
    case 7:
        d.TypeText(in.Bytes(in.Byte() % 4));
        break;
    case 8:
        d.ClickToolbarButton(dialog.m_toolBar,
                             kToolbarCommands[in.Byte() % std::size(kToolbarCommands)]);
        break;
    case 9:
        if (dialog.m_list.GetColumnCount() > 0)
            d.ClickColumnHeader(dialog.m_list, in.Byte() % dialog.m_list.GetColumnCount());
        break;
    case 10:
        d.ResizeWindow(dialog, 200 + in.Byte() * 3, 150 + in.Byte() * 3);
        break;
    default:
        target.SetFocus();
        break;
    }
    if (d.MenuShown())
        d.DismissMenu();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Fixture fixture;
    FuzzInput in(data, size);
    const std::uint8_t how = in.Byte();
    ExplorerDialog dialog;
    dialog.m_mode = static_cast<ExplorerMode>(how % 4);
    dialog.m_folderKey = how >> 2 & 1 ? kNoKey : (how >> 3) % 20;
    dialog.m_strTitle = "Auswahl";
    headless::TestDriver driver;
    driver.Then([&](UiDriver& d) {
        for (int i = 0; i < kMostActions && in.More() && d.ActiveWindow() == &dialog; ++i)
            Act(d, dialog, in);
        if (d.ActiveWindow() == &dialog)
            dialog.EndDialog(IDCANCEL);
    });
    dialog.DoModal();
    return 0;
}
