/* A hostile neighbour on the Windows desktop: another process (run by
 * tests/hostile.sh under Wine beside the program) that finds every window
 * of the program's process and sends and posts it what no part of the
 * system ever would:
 *   - the program's private range of window messages (WM_APP to WM_APP+15,
 *     which only wake the program's own queues) with each row as a press
 *     would carry it, rows far out of range, negative, at the edges, and
 *     WPARAMs over 32 bits whose low half is a row;
 *   - WM_TIMER for timers that were never set;
 *   - WM_COMMAND with unknown ids, and with a "control" that is none of
 *     the program's controls (junk, ours, the program's forms);
 *   - WM_GETOBJECT for objects it never offered;
 *   - MSAA calls with child ids that name no row.
 * After each kind it waits until the program has taken all of them, and
 * checks that it still answers, with every window it had. Whether the
 * screen changed, and whether a real click still works, the script sees.
 * Usage: hostileclient [-s KIND] TITLE ROWS TIMERS [TITLE ROWS TIMERS]...
 *   TITLE  a window of the program (class VelkForm), the first one shown;
 *   ROWS   how many rows its form's table has;
 *   TIMERS its rows that are timers, "1,5" or "-" for none.
 *   -s KIND  only that kind: private, timers, commands, objects, children.
 * Exits with the number of failed checks. */
#define UNICODE
#include <windows.h>
#include <initguid.h> /* IID_IAccessible as data, not oleacc's thunk */
#include <oleacc.h>
#include <limits.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

typedef struct
{
    wchar_t title[128];
    long rows;
    long timers[16];
    int timerCount;
} FormInfo;

typedef struct
{
    HWND window;
    wchar_t className[64];
    const FormInfo *form; /* the form of a VelkForm window, else NULL */
} Target;

static FormInfo forms[8];
static int formCount;
static Target targets[1024];
static int targetCount;
static DWORD pid;
static HANDLE process;
static HWND shownForm, foreign;
static int failures, gone;
static long posted, unposted, sent, unanswered, calls;

/* Not one of the program's windows: ours, whose user data points nowhere. */
static const LONG_PTR Nowhere = (LONG_PTR)0x4141414141414141ull;

static int check(int ok, const char *what)
{
    failures += !ok;
    printf("%s - %s\n", ok ? "ok" : "not ok", what);
    return ok;
}

static const FormInfo *formTitled(const wchar_t *title)
{
    for (int i = 0; i < formCount; ++i)
        if (!wcscmp(forms[i].title, title)) return &forms[i];
    return NULL;
}

static int isTimer(const FormInfo *f, long row)
{
    for (int i = 0; i < f->timerCount; ++i)
        if (f->timers[i] == row) return 1;
    return 0;
}

static void add(HWND w)
{
    Target *t;
    wchar_t title[128] = L"";
    if (targetCount == (int)(sizeof targets / sizeof *targets)) return;
    t = &targets[targetCount++];
    t->window = w;
    GetClassNameW(w, t->className, 64);
    GetWindowTextW(w, title, 128);
    t->form = wcscmp(t->className, L"VelkForm") ? NULL : formTitled(title);
}

static BOOL CALLBACK addChild(HWND w, LPARAM unused)
{
    (void)unused;
    add(w);
    return TRUE;
}

/* A top-level or message-only window of the process: the program's own
 * (its classes are Velk...), with all its descendants, or the system's
 * (the IME's, COM's), which are left alone and said. */
static void consider(HWND w)
{
    DWORD owner = 0;
    wchar_t name[64] = L"";
    GetWindowThreadProcessId(w, &owner);
    if (owner != pid) return;
    GetClassNameW(w, name, 64);
    if (wcsncmp(name, L"Velk", 4)) {
        printf("# left alone: a window of the system's class %ls in the program's process\n", name);
        return;
    }
    add(w);
    EnumChildWindows(w, addChild, 0);
}

static BOOL CALLBACK topLevel(HWND w, LPARAM unused)
{
    (void)unused;
    consider(w);
    return TRUE;
}

static void findWindows(void)
{
    targetCount = 0;
    EnumWindows(topLevel, 0);
    for (HWND w = NULL; (w = FindWindowExW(HWND_MESSAGE, w, NULL, NULL));)
        consider(w);
}

/* --- waiting for the program, and whether it is still there --- */

typedef struct
{
    HWND window;
    HRESULT hr;
    long children;
} Probe;

/* A call to the form's IAccessible: COM hands a call to a single-threaded
 * apartment as a message posted to the apartment's thread, so it returns
 * only once the program has taken every message posted before it. On a
 * thread of its own, so that a program that hangs (or a crashed one held
 * by the debugger) is a timeout, not a hang. */
static DWORD WINAPI probe(void *argument)
{
    Probe *p = argument;
    IAccessible *root = NULL;
    CoInitializeEx(NULL, COINIT_MULTITHREADED);
    p->hr = AccessibleObjectFromWindow(p->window, (DWORD)OBJID_CLIENT, &IID_IAccessible, (void **)&root);
    if (p->hr == S_OK) {
        p->hr = root->lpVtbl->get_accChildCount(root, &p->children);
        root->lpVtbl->Release(root);
    }
    CoUninitialize();
    return 0;
}

static int answers(void)
{
    static Probe p; /* a probe that times out may still write to it */
    HANDLE thread;
    if (gone) return 0;
    p = (Probe){shownForm, E_FAIL, 0};
    thread = CreateThread(NULL, 0, probe, &p, 0, NULL);
    gone = WaitForSingleObject(thread, 30000) != WAIT_OBJECT_0 || p.hr != S_OK || p.children <= 0;
    CloseHandle(thread);
    return !gone;
}

/* After one kind: every message taken, the process alive, answering, with
 * every window it had. Fails the run from there on when not. */
static int livesOn(const char *kind)
{
    char what[200];
    int windows = 1, shown = 0;
    int ok = answers();
    for (int i = 0; i < targetCount; ++i)
        windows &= IsWindow(targets[i].window) != 0, shown += targets[i].form && IsWindowVisible(targets[i].window);
    ok = ok && windows && shown == 1 && IsWindowVisible(shownForm) && WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    snprintf(what, sizeof what, "after %s: the program took them all, runs on and answers, every window there, the same shown", kind);
    return check(ok, what);
}

/* --- the messages --- */

static void post(HWND w, UINT message, WPARAM wParam, LPARAM lParam)
{
    /* Paced: a queue holds ten thousand messages at most on Windows. */
    if (gone || (++posted % 2000 == 0 && !answers())) return;
    if (!PostMessageW(w, message, wParam, lParam)) ++unposted;
}

static LRESULT deliver(HWND w, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (gone || (++sent % 2000 == 0 && !answers())) return 0;
    if (!SendMessageTimeoutW(w, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result) && ++unanswered < 5)
        printf("# unanswered: message 0x%x, wParam 0x%llx, lParam 0x%llx: error %lu\n", message,
               (unsigned long long)wParam, (unsigned long long)lParam, GetLastError());
    return (LRESULT)result;
}

/* WPARAMs that name no row of a form of `rows` rows: far out, negative, at
 * the edges, and over 32 bits with a row in the low half (a door that cuts
 * a WPARAM to an int would take those for the row). */
static int badRows(long rows, WPARAM *out)
{
    static const int64_t Edges[] = {INT_MIN, INT_MIN + 1, -1000000, -2, -1, 0x7FFFFFFE, INT_MAX, 0x80000000ll,
                                    0xFFFFFFFEll, 0xFFFFFFFFll, INT64_MAX, INT64_MIN, INT64_MIN + 1};
    int n = 0;
    for (size_t i = 0; i < sizeof Edges / sizeof *Edges; ++i) out[n++] = (WPARAM)Edges[i];
    out[n++] = (WPARAM)rows, out[n++] = (WPARAM)rows + 1, out[n++] = (WPARAM)rows + 2, out[n++] = (WPARAM)rows + 1000;
    for (long r = 0; r < rows && r < 200; ++r) {
        out[n++] = ((WPARAM)1 << 32) + (WPARAM)r;
        out[n++] = (WPARAM)0xFFFFFFFF00000000ull + (WPARAM)r;
        out[n++] = ((WPARAM)1 << 63) + (WPARAM)r;
    }
    return n;
}

static long largestForm(void)
{
    long most = 0;
    for (int i = 0; i < formCount; ++i)
        if (forms[i].rows > most) most = forms[i].rows;
    return most;
}

static void privateRange(void)
{
    static WPARAM rows[700];
    for (int i = 0; i < targetCount; ++i) {
        const Target *t = &targets[i];
        /* A form's own rows; any other window the largest form's. */
        const int n = badRows(t->form ? t->form->rows : largestForm(), rows);
        for (UINT m = WM_APP; m <= WM_APP + 15; ++m) {
            for (long r = 0; r < (t->form ? t->form->rows : largestForm()); ++r) post(t->window, m, (WPARAM)r, 0);
            for (int k = 0; k < (m <= WM_APP + 3 ? n : 17); ++k) {
                post(t->window, m, rows[k], 0);
                post(t->window, m, rows[k], (LPARAM)Nowhere);
            }
        }
        post(t->window, 0xBFFF, (WPARAM)-1, (LPARAM)-1); /* the range's last */
    }
}

/* Timer ids no one set: a form's rows that are no timer (a row's window id
 * is its timer id too), the ids past its rows, huge ones, and ids whose
 * low 32 bits are one of its rows; a system timer procedure that is none. */
static void timers(void)
{
    static const uint64_t Ids[] = {0, 1, 2, 3, 99, 0xFFFF, 0x7FFFFFFF, 0x80000000u, 0xFFFFFFFFu, 0x100000000ull,
                                   0x8000000000000000ull, 0xFFFFFFFFFFFFFFFFull};
    for (int i = 0; i < targetCount; ++i) {
        const Target *t = &targets[i];
        for (size_t k = 0; k < sizeof Ids / sizeof *Ids; ++k) post(t->window, WM_TIMER, (WPARAM)Ids[k], 0);
        post(t->window, WM_TIMER, 0x4242, (LPARAM)Nowhere);
        if (!t->form) continue;
        for (long r = 0; r < t->form->rows + 3; ++r) {
            post(t->window, WM_TIMER, ((WPARAM)1 << 32) + 100 + (WPARAM)r, 0);
            if (r >= t->form->rows || !isTimer(t->form, r)) post(t->window, WM_TIMER, 100 + (WPARAM)r, 0);
        }
    }
}

/* Windows that are no control of the program's, given where a control's
 * window goes: none, junk, ours, and the program's own windows that are
 * no control (its forms, its hidden windows). */
static int notControls(LPARAM *out)
{
    int n = 0;
    out[n++] = 0, out[n++] = 1, out[n++] = (LPARAM)0xDEADBEEF, out[n++] = Nowhere, out[n++] = (LPARAM)foreign;
    for (int i = 0; i < targetCount && n < 32; ++i)
        if (!wcscmp(targets[i].className, L"VelkForm") || !wcscmp(targets[i].className, L"VelkRuntime"))
            out[n++] = (LPARAM)targets[i].window;
    return n;
}

static void commands(void)
{
    static const WORD Codes[] = {BN_CLICKED, 1, EN_CHANGE, 0x7777, 0xFFFF};
    LPARAM junk[32];
    const int n = notControls(junk);
    for (int i = 0; i < targetCount; ++i) {
        const Target *t = &targets[i];
        const long rows = t->form ? t->form->rows : largestForm();
        const WORD ids[] = {0, IDOK, IDCANCEL, 99, (WORD)(100 + rows), (WORD)(101 + rows), 0xFFFF};
        for (size_t k = 0; k < sizeof ids / sizeof *ids; ++k)
            for (size_t c = 0; c < sizeof Codes / sizeof *Codes; ++c)
                for (int j = 0; j < n; ++j) deliver(t->window, WM_COMMAND, MAKEWPARAM(ids[k], Codes[c]), junk[j]);
        /* A real control, with a notification no control sends. */
        for (int j = 0; j < targetCount; ++j)
            if (GetParent(targets[j].window) == t->window)
                deliver(t->window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(targets[j].window), 0x7777), (LPARAM)targets[j].window);
    }
}

/* Object ids never offered: OBJID_WINDOW and the other OBJID_s but
 * OBJID_CLIENT, UI Automation's root, positive ones and huge ones. */
static void objects(void)
{
    static const int64_t Ids[] = {OBJID_WINDOW, OBJID_SYSMENU, OBJID_TITLEBAR, OBJID_MENU, OBJID_VSCROLL,
                                  OBJID_HSCROLL, OBJID_SIZEGRIP, OBJID_CARET, OBJID_CURSOR, OBJID_ALERT, OBJID_SOUND,
                                  OBJID_QUERYCLASSNAMEIDX, OBJID_NATIVEOM, -17, -25 /* UiaRootObjectId */, -100,
                                  INT_MIN, INT_MIN + 1, 1, 2, 100, 1000, INT_MAX, 0x100000000ll, INT64_MAX, INT64_MIN};
    static const WPARAM Flags[] = {0, 1, 0xFFFFFFFFu, (WPARAM)-1};
    long answered = 0;
    for (int i = 0; i < targetCount; ++i)
        for (size_t k = 0; k < sizeof Ids / sizeof *Ids; ++k)
            for (size_t f = 0; f < sizeof Flags / sizeof *Flags; ++f)
                answered += deliver(targets[i].window, WM_GETOBJECT, Flags[f], (LPARAM)Ids[k]) != 0;
    printf("# WM_GETOBJECT for an object never offered answered %ld times\n", answered);
}

/* Child ids that name no row, and kinds of VARIANT that are no child id,
 * to every method of the form's IAccessible that takes one; each must
 * fail, and give nothing. */
static void children(void)
{
    for (int i = 0; i < targetCount; ++i) {
        const Target *t = &targets[i];
        IAccessible *root = NULL;
        long kids = 0, rows;
        char what[200];
        int refused = 1;
        if (!t->form) continue;
        rows = t->form->rows;
        if (AccessibleObjectFromWindow(t->window, (DWORD)OBJID_CLIENT, &IID_IAccessible, (void **)&root) != S_OK) {
            check(0, "the form's IAccessible, for the child ids");
            continue;
        }
        root->lpVtbl->get_accChildCount(root, &kids);
        const LONG ids[] = {LONG_MIN, LONG_MIN + 1, -1000000, -(rows + 1), -(rows + 2), -(rows + 1000),
                            kids + 1, kids + 2, 1000000, LONG_MAX};
        VARIANT bad[sizeof ids / sizeof *ids + 3];
        int n = 0;
        for (size_t k = 0; k < sizeof ids / sizeof *ids; ++k) bad[n++] = (VARIANT){.vt = VT_I4, .lVal = ids[k]};
        bad[n++] = (VARIANT){.vt = VT_EMPTY};
        bad[n++] = (VARIANT){.vt = VT_R8, .dblVal = 1.0};
        bad[n++] = (VARIANT){.vt = VT_I2, .iVal = 1};
        for (int k = 0; k < n; ++k) {
            IAccessible *a = root;
            BSTR s = NULL;
            VARIANT v;
            IDispatch *d = NULL;
            long x = 0, y = 0, w = 0, h = 0;
            HRESULT hr;
            calls += 10;
#define REFUSED(call, nothing) (hr = (call), refused &= FAILED(hr) && (nothing))
            REFUSED(a->lpVtbl->get_accName(a, bad[k], &s), !s);
            REFUSED(a->lpVtbl->get_accValue(a, bad[k], &s), !s);
            REFUSED(a->lpVtbl->get_accDefaultAction(a, bad[k], &s), !s);
            VariantInit(&v);
            REFUSED(a->lpVtbl->get_accRole(a, bad[k], &v), v.vt == VT_EMPTY);
            REFUSED(a->lpVtbl->get_accState(a, bad[k], &v), v.vt == VT_EMPTY);
            REFUSED(a->lpVtbl->get_accChild(a, bad[k], &d), !d);
            REFUSED(a->lpVtbl->accLocation(a, &x, &y, &w, &h, bad[k]), 1);
            REFUSED(a->lpVtbl->accNavigate(a, NAVDIR_NEXT, bad[k], &v), v.vt == VT_EMPTY);
            REFUSED(a->lpVtbl->accNavigate(a, NAVDIR_FIRSTCHILD, bad[k], &v), v.vt == VT_EMPTY);
            REFUSED(a->lpVtbl->accDoDefaultAction(a, bad[k]), 1);
#undef REFUSED
            if (s) SysFreeString(s);
            if (d) d->lpVtbl->Release(d);
        }
        snprintf(what, sizeof what, "\"%ls\": %d child ids that name no row refused by every method", t->form->title, n);
        check(refused, what);
        {
            /* Directions no one defined, and points far off the screen. */
            static const long Directions[] = {0, NAVDIR_MAX, 100, -1, LONG_MIN, LONG_MAX};
            static const long Points[][2] = {{LONG_MIN, LONG_MIN}, {LONG_MAX, LONG_MAX}, {LONG_MIN, LONG_MAX}, {-1, -1}};
            VARIANT self = {.vt = VT_I4, .lVal = CHILDID_SELF}, v;
            int nothing = 1;
            for (size_t k = 0; k < sizeof Directions / sizeof *Directions; ++k, ++calls) {
                VariantInit(&v);
                HRESULT hr = root->lpVtbl->accNavigate(root, Directions[k], self, &v);
                nothing &= (FAILED(hr) || hr == S_FALSE) && v.vt == VT_EMPTY;
                VariantClear(&v);
            }
            for (size_t k = 0; k < sizeof Points / sizeof *Points; ++k, ++calls) {
                VariantInit(&v);
                HRESULT hr = root->lpVtbl->accHitTest(root, Points[k][0], Points[k][1], &v);
                nothing &= (FAILED(hr) || hr == S_FALSE) && v.vt == VT_EMPTY;
                VariantClear(&v);
            }
            snprintf(what, sizeof what, "\"%ls\": unknown directions and points far off give nothing", t->form->title);
            check(nothing, what);
        }
        root->lpVtbl->Release(root);
    }
}

static int parseForms(int argc, char **argv)
{
    for (int i = 0; i + 2 < argc && formCount < (int)(sizeof forms / sizeof *forms); i += 3) {
        FormInfo *f = &forms[formCount++];
        MultiByteToWideChar(CP_UTF8, 0, argv[i], -1, f->title, 128);
        f->rows = strtol(argv[i + 1], NULL, 10);
        for (char *c = argv[i + 2]; *c && *c != '-' && f->timerCount < 16;) {
            f->timers[f->timerCount++] = strtol(c, &c, 10);
            if (*c == ',') ++c;
        }
        if (f->rows <= 0) return 0;
    }
    return formCount > 0 && argc % 3 == 0;
}

int main(int argc, char **argv)
{
    static const struct
    {
        const char *name, *what;
        void (*run)(void);
    } Kinds[] = {
        {"private", "the private range, rows in range and out", privateRange},
        {"timers", "timers never set", timers},
        {"commands", "unknown commands, and windows that are no control", commands},
        {"objects", "WM_GETOBJECT for objects never offered", objects},
        {"children", "child ids that name no row", children},
    };
    const char *only = NULL;
    if (argc > 2 && !strcmp(argv[1], "-s")) only = argv[2], argc -= 2, argv += 2;
    if (!parseForms(argc - 1, argv + 1))
        return fprintf(stderr, "usage: hostileclient [-s KIND] TITLE ROWS TIMERS [TITLE ROWS TIMERS]...\n"), 2;
    setvbuf(stdout, NULL, _IONBF, 0);
    CoInitialize(NULL);

    for (int i = 0; i < 150 && !(shownForm && IsWindowVisible(shownForm)); ++i, Sleep(200))
        shownForm = FindWindowW(L"VelkForm", forms[0].title);
    if (!check(shownForm && IsWindowVisible(shownForm), "the program's window is shown")) return 1;
    GetWindowThreadProcessId(shownForm, &pid);
    process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!check(process != NULL, "the program's process")) return 1;
    foreign = CreateWindowW(L"STATIC", L"not the program's", WS_POPUP, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
    SetWindowLongPtrW(foreign, GWLP_USERDATA, Nowhere);

    findWindows();
    printf("# %d windows of the program:", targetCount);
    for (int i = 0; i < targetCount; ++i) {
        int same = 1;
        while (i + 1 < targetCount && !wcscmp(targets[i + 1].className, targets[i].className)) ++i, ++same;
        printf(" %d %ls%s", same, targets[i].className, i + 1 < targetCount ? "," : "\n");
    }
    {
        int known = 1;
        for (int i = 0; i < targetCount; ++i) known &= wcscmp(targets[i].className, L"VelkForm") || targets[i].form;
        if (!check(known && answers(), "every form window is one named, and the program answers")) return 1;
    }
    for (size_t k = 0; k < sizeof Kinds / sizeof *Kinds; ++k) {
        if (only && strcmp(only, Kinds[k].name)) continue;
        printf("# %s\n", Kinds[k].what);
        Kinds[k].run();
        if (!livesOn(Kinds[k].what)) break;
    }
    printf("# posted %ld messages (%ld refused by the system), sent %ld (%ld unanswered), made %ld MSAA calls\n",
           posted, unposted, sent, unanswered, calls);
    DestroyWindow(foreign);
    CoUninitialize();
    return printf("%d failed\n", failures), failures;
}
