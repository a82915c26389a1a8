#include "platform/app.h"

#include "platform/resource_access.h"
#include "platform/window_backend.h"

#include <map>
#include <memory>

struct CursorData {
    CPoint hotspot;
    const PixelImage* image = nullptr;
    LPCTSTR standardName = nullptr;
    UINT resourceId = 0;
};

struct AFX_MODULE_STATE {};
struct InstanceData {};

namespace {

CWinApp* g_app = nullptr;
HCURSOR g_cursor = nullptr;

// Handles live for the whole process, as the system's shared cursors and icons do.
std::map<std::pair<int, std::uintptr_t>, std::unique_ptr<CursorData>>& Cursors() {
    static auto* cursors =
        new std::map<std::pair<int, std::uintptr_t>, std::unique_ptr<CursorData>>;
    return *cursors;
}

enum { kStandard, kCursor, kIcon };

HCURSOR StandardCursor(LPCTSTR name) {
    if (!name || !IS_INTRESOURCE(name))
        return nullptr;
    const auto id = reinterpret_cast<std::uintptr_t>(name);
    auto& slot = Cursors()[{kStandard, id}];
    if (!slot) {
        slot = std::make_unique<CursorData>();
        slot->standardName = name;
    }
    return slot.get();
}

HCURSOR ResourceCursor(int kind, UINT id) {
    auto& slot = Cursors()[{kind, id}];
    if (!slot) {
        CPoint hotspot;
        const PixelImage* image =
            kind == kCursor ? FindCursorPixels(id, &hotspot) : FindIconPixels(id);
        if (!image)
            return nullptr;
        slot = std::make_unique<CursorData>();
        slot->image = image;
        slot->hotspot = hotspot;
        slot->resourceId = id;
    }
    return slot.get();
}

} // namespace

CWinApp::CWinApp(LPCTSTR appName) : m_appName(appName ? appName : "") {
    m_pszAppName = m_appName.c_str();
    g_app = this;
}

CWinApp::~CWinApp() {
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}
int CWinApp::ExitInstance() {
    return 0;
}

HCURSOR CWinApp::LoadCursor(UINT id) const {
    return ResourceCursor(kCursor, id);
}
HCURSOR CWinApp::LoadStandardCursor(LPCTSTR name) const {
    return StandardCursor(name);
}
HICON CWinApp::LoadIcon(UINT id) const {
    return ResourceCursor(kIcon, id);
}
HICON CWinApp::LoadStandardIcon(LPCTSTR name) const {
    return StandardCursor(name);
}

CWinApp* AfxGetApp() {
    return g_app;
}

HINSTANCE AfxGetInstanceHandle() {
    static InstanceData instance;
    return &instance;
}

HINSTANCE AfxGetResourceHandle() {
    return AfxGetInstanceHandle();
}

void AfxEnableControlContainer() {}

AFX_MODULE_STATE* AfxGetStaticModuleState() {
    static AFX_MODULE_STATE state;
    return &state;
}

AFX_MODULE_STATE* AfxGetModuleState() {
    return AfxGetStaticModuleState();
}

HCURSOR LoadCursor(HINSTANCE instance, LPCTSTR name) {
    if (!instance)
        return StandardCursor(name);
    if (!IS_INTRESOURCE(name))
        return nullptr;
    return ResourceCursor(kCursor, static_cast<UINT>(reinterpret_cast<std::uintptr_t>(name)));
}

HICON LoadIcon(HINSTANCE instance, LPCTSTR name) {
    if (!instance)
        return StandardCursor(name);
    if (!IS_INTRESOURCE(name))
        return nullptr;
    return ResourceCursor(kIcon, static_cast<UINT>(reinterpret_cast<std::uintptr_t>(name)));
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR previous = g_cursor;
    g_cursor = cursor;
    if (cursor != previous)
        CurrentWindowBackend().SetCursor(cursor);
    return previous;
}

HCURSOR GetCursor() {
    return g_cursor;
}

BOOL DestroyCursor(HCURSOR) {
    return TRUE;
}
BOOL DestroyIcon(HICON) {
    return TRUE;
}

CursorInfoView DescribeCursor(HCURSOR cursor) {
    if (!cursor)
        return {CPoint(), nullptr, nullptr, 0};
    return {cursor->hotspot, cursor->image, cursor->standardName, cursor->resourceId};
}
