// tests/wine/test_resources.cpp - what ruvex.exe holds: exactly the three dialog templates,
// the 18 bitmaps and the icon, under US English; every template and control as designed,
// read from the template bytes and from the windows the dialog manager makes of them; and
// the pictures that LoadImages gives the main window. Runs under Wine, in-process: this
// program links the same resource script and the program's own procedures.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "../../app/app.h"
#include "../../app/resource.h"
#include "../../browser/browser.h"
#include "../harness/driver.h"

// ---- The resource directory of ruvex.exe ----

struct ResourceIndex {
    std::map<std::string, std::set<int>> namesByType;  // type -> integer names
    std::set<WORD> languages;
    bool hasNamedResource = false;
};

static std::string TypeText(LPSTR type)
{
    return IS_INTRESOURCE(type) ? std::to_string((int)(ULONG_PTR)type) : std::string(type);
}

static BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR context)
{
    ((ResourceIndex *)context)->languages.insert(language);
    return TRUE;
}

static BOOL CALLBACK CollectName(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR context)
{
    ResourceIndex *index = (ResourceIndex *)context;
    if (IS_INTRESOURCE(name))
        index->namesByType[TypeText((LPSTR)type)].insert((int)(ULONG_PTR)name);
    else
        index->hasNamedResource = true;
    EnumResourceLanguagesA(module, type, name, CollectLanguage, context);
    return TRUE;
}

static BOOL CALLBACK CollectType(HMODULE module, LPSTR type, LONG_PTR context)
{
    EnumResourceNamesA(module, type, CollectName, context);
    return TRUE;
}

static std::set<int> Range(int first, int last)
{
    std::set<int> ids;
    for (int id = first; id <= last; ++id)
        ids.insert(id);
    return ids;
}

TEST(Resources, ExeHoldsExactlyTheTemplatesPicturesAndIconInUsEnglish)
{
    HMODULE exe = LoadLibraryExA(SessionPath("RUVEX_EXE").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    ResourceIndex index;
    EnumResourceTypesA(exe, CollectType, (LONG_PTR)&index);
    FreeLibrary(exe);

    std::set<int> bitmaps = Range(400, 413);
    for (int id : Range(450, 453))
        bitmaps.insert(id);
    const std::map<std::string, std::set<int>> expected = {
        {TypeText(RT_DIALOG), {1000, 2000, 3000}},
        {TypeText(RT_BITMAP), bitmaps},
        {TypeText(RT_GROUP_ICON), {1000}},
        {TypeText(RT_ICON), {1}},
    };
    EXPECT_EQ(index.namesByType, expected);  // no manifest, version, strings or menus
    EXPECT_FALSE(index.hasNamedResource);
    EXPECT_EQ(index.languages, std::set<WORD>{1033});
}

TEST(Resources, IconGroupHoldsOne32BitImageOf32By32)
{
    HRSRC group = FindResourceA(nullptr, MAKEINTRESOURCEA(IDI_APP), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    const BYTE *directory = (const BYTE *)LockResource(LoadResource(nullptr, group));
    EXPECT_EQ(*(const WORD *)(directory + 4), 1);  // one image
    EXPECT_EQ(directory[6], 32);                   // width
    EXPECT_EQ(directory[7], 32);                   // height
    EXPECT_EQ(*(const WORD *)(directory + 12), 32);  // bits per pixel
    EXPECT_EQ(*(const DWORD *)(directory + 14), 4264u);
    HRSRC image = FindResourceA(nullptr, MAKEINTRESOURCEA(1), RT_ICON);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(SizeofResource(nullptr, image), 4264u);
}

// ---- Dialog templates, read byte by byte ----

struct ControlSpec {
    int id;
    const char *className;
    const char *text;
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
};

struct DialogSpec {
    int id;
    const char *title;
    DWORD style;
    DWORD exStyle;
    short cx, cy;
    std::vector<ControlSpec> controls;
};

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kEditStyle = kChild | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
constexpr DWORD kPictureButton = kChild | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP | BS_PUSHBUTTON | BS_BITMAP;

static const DialogSpec kDialogs[] = {
    {IDD_MAIN, "Ruvex", WS_OVERLAPPEDWINDOW | WS_VISIBLE | DS_CENTER | DS_SETFONT, 0, 243, 151,
     {
         {IDC_FILE_LIST, "SYSLISTVIEW32", "", kChild | WS_TABSTOP | LVS_LIST | LVS_SINGLESEL | LVS_EDITLABELS,
          WS_EX_CLIENTEDGE, 2, 16, 238, 133},
         {IDC_PATH_LABEL, "Static", "No current directory", kChild | SS_LEFTNOWORDWRAP | SS_SUNKEN, 0, 2, 1, 174, 13},
         {IDC_NEW_FOLDER, "Button", "", kPictureButton, 0, 194, 1, 14, 13},
         {IDC_DELETE, "Button", "", kPictureButton, 0, 178, 1, 14, 13},
         {IDC_UPLOAD, "Button", "", kPictureButton, 0, 210, 1, 14, 13},
         {IDC_REFRESH, "Button", "", kPictureButton, 0, 226, 1, 14, 13},
     }},
    {IDD_LOGIN, "Login", WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_VISIBLE | DS_CENTER | DS_SETFONT, 0, 177, 68,
     {
         {IDC_SERVER, "Edit", "", kEditStyle, WS_EX_CLIENTEDGE, 44, 3, 130, 13},
         {IDC_USERNAME, "Edit", "", kEditStyle, WS_EX_CLIENTEDGE, 44, 18, 130, 13},
         {IDC_PASSWORD, "Edit", "", kEditStyle, WS_EX_CLIENTEDGE, 44, 33, 130, 13},
         {IDC_LOGIN, "Button", "Login", kChild | WS_TABSTOP | BS_PUSHBUTTON, 0, 54, 51, 68, 13},
         {IDC_SERVER_LABEL, "Static", "FTP Server", kChild | SS_LEFT | SS_CENTERIMAGE, 0, 4, 3, 40, 13},
         {IDC_USERNAME_LABEL, "Static", "Username", kChild | SS_LEFT, 0, 4, 18, 40, 13},
         {IDC_PASSWORD_LABEL, "Static", "Password", kChild | SS_LEFT, 0, 4, 33, 40, 13},
     }},
    {IDD_PROMPT, "Prompt", WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_MODALFRAME | DS_CENTER | DS_SETFONT,
     WS_EX_DLGMODALFRAME, 190, 45,
     {
         {IDC_PROMPT_TEXT, "Static", "<undefined text>", kChild | SS_LEFT, 0, 2, 1, 186, 24},
         {IDC_PROMPT_EDIT, "Edit", "", kEditStyle, WS_EX_CLIENTEDGE, 2, 29, 148, 13},
         {IDC_PROMPT_OK, "Button", "Ok", kChild | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 152, 29, 36, 13},
     }},
};

// Reads the parts of a DLGTEMPLATEEX in order.
struct TemplateReader {
    const BYTE *at;

    WORD Word() { WORD v; std::memcpy(&v, at, 2); at += 2; return v; }
    DWORD Dword() { DWORD v; std::memcpy(&v, at, 4); at += 4; return v; }
    short Short() { return (short)Word(); }
    // A string, or an ordinal written as "#n".
    std::string StringOrOrdinal()
    {
        if (Word() == 0xFFFF)
            return "#" + std::to_string(Word());
        at -= 2;
        return String();
    }
    std::string String()
    {
        std::string text;
        for (WORD c; (c = Word()) != 0;)
            text += (char)c;
        return text;
    }
    void AlignToDword() { at = (const BYTE *)(((ULONG_PTR)at + 3) & ~(ULONG_PTR)3); }
};

static std::string ClassInTemplate(const std::string &stored)
{
    static const std::map<std::string, std::string> ordinals = {
        {"#128", "Button"}, {"#129", "Edit"}, {"#130", "Static"}};
    const auto known = ordinals.find(stored);
    return known == ordinals.end() ? stored : known->second;
}

static const BYTE *TemplateOf(int id)
{
    HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_DIALOG);
    return resource == nullptr ? nullptr : (const BYTE *)LockResource(LoadResource(nullptr, resource));
}

TEST(Templates, EveryTemplateAndControlIsAsDesigned)
{
    for (const DialogSpec &dialog : kDialogs) {
        SCOPED_TRACE(dialog.title);
        const BYTE *bytes = TemplateOf(dialog.id);
        ASSERT_NE(bytes, nullptr);
        TemplateReader read = {bytes};
        EXPECT_EQ(read.Word(), 1);       // version
        EXPECT_EQ(read.Word(), 0xFFFF);  // extended template
        EXPECT_EQ(read.Dword(), 0u);     // help id
        EXPECT_EQ(read.Dword(), dialog.exStyle);
        EXPECT_EQ(read.Dword(), dialog.style);
        const WORD count = read.Word();
        ASSERT_EQ(count, dialog.controls.size());
        EXPECT_EQ(read.Short(), 6);
        EXPECT_EQ(read.Short(), 6);
        EXPECT_EQ(read.Short(), dialog.cx);
        EXPECT_EQ(read.Short(), dialog.cy);
        EXPECT_EQ(read.StringOrOrdinal(), "");  // no menu
        EXPECT_EQ(read.StringOrOrdinal(), "");  // the default dialog class
        EXPECT_EQ(read.String(), dialog.title);
        EXPECT_EQ(read.Word(), 8);    // points
        EXPECT_EQ(read.Word(), 400);  // weight
        EXPECT_EQ(read.at[0], 0);     // not italic
        EXPECT_EQ(read.at[1], 0);     // character set
        read.at += 2;
        EXPECT_EQ(read.String(), "MS Sans Serif");
        for (const ControlSpec &control : dialog.controls) {
            SCOPED_TRACE(control.id);
            read.AlignToDword();
            EXPECT_EQ(read.Dword(), 0u);  // help id
            EXPECT_EQ(read.Dword(), control.exStyle);
            EXPECT_EQ(read.Dword(), control.style);  // exactly: no WS_GROUP, no WS_BORDER
            EXPECT_EQ(read.Short(), control.x);
            EXPECT_EQ(read.Short(), control.y);
            EXPECT_EQ(read.Short(), control.cx);
            EXPECT_EQ(read.Short(), control.cy);
            EXPECT_EQ(read.Dword(), (DWORD)control.id);
            const std::string className = ClassInTemplate(read.StringOrOrdinal());
            EXPECT_EQ(lstrcmpiA(className.c_str(), control.className), 0) << className;  // lookup ignores case
            EXPECT_EQ(read.StringOrOrdinal(), control.text);
            EXPECT_EQ(read.Word(), 0);  // no creation data
        }
    }
}

// ---- The windows made from the templates ----

static INT_PTR CALLBACK PassiveDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

static HWND CreateFromTemplate(int id)
{
    return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), nullptr, PassiveDialogProc, 0);
}

static bool HasClass(HWND window, const char *className)
{
    char actual[64] = {};
    GetClassNameA(window, actual, sizeof actual);
    return lstrcmpiA(actual, className) == 0;
}

TEST(Templates, DialogManagerMakesTheControlsInTemplateOrder)
{
    LoadLibraryA("comctl32.dll");
    for (const DialogSpec &dialog : kDialogs) {
        SCOPED_TRACE(dialog.title);
        HWND window = CreateFromTemplate(dialog.id);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(WindowText(window), dialog.title);
        HWND child = GetWindow(window, GW_CHILD);
        for (const ControlSpec &control : dialog.controls) {
            SCOPED_TRACE(control.id);
            ASSERT_NE(child, nullptr);
            EXPECT_EQ(GetDlgCtrlID(child), control.id);
            EXPECT_TRUE(HasClass(child, control.className));
            EXPECT_EQ(WindowText(child), control.text);
            const DWORD style = (DWORD)GetWindowLongA(child, GWL_STYLE);
            EXPECT_EQ(style & control.style, control.style);
            EXPECT_EQ(style & WS_GROUP, 0u);
            EXPECT_EQ(((DWORD)GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE), control.exStyle & WS_EX_CLIENTEDGE);
            child = GetWindow(child, GW_HWNDNEXT);
        }
        EXPECT_EQ(child, nullptr);
        DestroyWindow(window);
    }
}

TEST(Templates, LoginFieldsShowTypedTextAndTheDialogsCentre)
{
    HWND login = CreateFromTemplate(IDD_LOGIN);
    ASSERT_NE(login, nullptr);
    EXPECT_EQ(SendDlgItemMessageA(login, IDC_PASSWORD, EM_GETPASSWORDCHAR, 0, 0), 0);
    RECT window = {}, work = {};
    GetWindowRect(login, &window);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((window.left + window.right) / 2, (work.left + work.right) / 2, 2);
    EXPECT_NEAR((window.top + window.bottom) / 2, (work.top + work.bottom) / 2, 2);
    DestroyWindow(login);
}

// ---- The pictures LoadImages gives the main window ----

TEST(Images, ListHolds14ImagesAndEveryButtonAPictureWithoutText)
{
    LoadLibraryA("comctl32.dll");
    g_moduleInstance = GetModuleHandleA(nullptr);
    g_mainWindow = CreateFromTemplate(IDD_MAIN);
    ASSERT_NE(g_mainWindow, nullptr);
    LoadImages();
    HIMAGELIST images = (HIMAGELIST)SendDlgItemMessageA(g_mainWindow, IDC_FILE_LIST, LVM_GETIMAGELIST, LVSIL_SMALL, 0);
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), 14);
    int width = 0, height = 0;
    ImageList_GetIconSize(images, &width, &height);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);
    for (int id : {IDC_REFRESH, IDC_UPLOAD, IDC_NEW_FOLDER, IDC_DELETE}) {
        EXPECT_NE(SendDlgItemMessageA(g_mainWindow, id, BM_GETIMAGE, IMAGE_BITMAP, 0), 0) << id;
        EXPECT_EQ(ControlText(g_mainWindow, id), "") << id;
    }
    DestroyWindow(g_mainWindow);
}

TEST(Images, ApplicationIconBecomesTheDialogClassIcon)
{
    HWND dialog = CreateFromTemplate(IDD_LOGIN);
    ASSERT_NE(dialog, nullptr);
    SetApplicationIcon(dialog);
    HICON icon = (HICON)GetClassLongPtrA(dialog, GCLP_HICON);
    ASSERT_NE(icon, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour = {};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyWindow(dialog);
}
