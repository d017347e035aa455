/* A screen reader's view of the Windows build through MSAA, from another
 * process (tests/msaa.sh runs it under Wine beside the program): it prints
 * the trees of the disclaimer and the powered-on dashboard, checks them
 * against the table the Linux test uses, presses "I Agree", "Power",
 * "Auto", a lamp's button and "Exit" by accDoDefaultAction (and the
 * hidden disclaimer's "I Do Not Agree", which must do nothing), listens
 * to the events, and follows the focus that a Tab moves to a zone. Usage: msaaclient SCALE WIDTHxHEIGHT+X+Y (the power zone
 * in the dashboard, layout pixels). Exits with the number of failures. */
#define UNICODE
#include <windows.h>
#include <initguid.h> /* IID_IAccessible as data, not oleacc's thunk */
#include <oleacc.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>

#include "accessiblenames.h"

typedef struct
{
    IAccessible *a;
    int depth;
    char name[160], value[600], action[16];
    long role, state, x, y, w, h;
} Node;

static Node nodes[200];
static int count, failures, misnavigated, heardStatus, heardLamp;
static char heardFocus[160]; /* the button the last focus event named */

static int check(int ok, const char *what)
{
    failures += !ok;
    return printf("%s - %s\n", ok ? "ok" : "not ok", what), ok;
}

static VARIANT self(void)
{
    return (VARIANT){.vt = VT_I4, .lVal = CHILDID_SELF};
}

static void utf8(IAccessible *a, HRESULT(STDMETHODCALLTYPE *get)(IAccessible *, VARIANT, BSTR *), char *out, int size)
{
    BSTR s = NULL;
    *out = 0;
    if (get(a, self(), &s) == S_OK && s) WideCharToMultiByte(CP_UTF8, 0, s, -1, out, size, NULL, NULL), SysFreeString(s);
}

static void facts(IAccessible *a, Node *n)
{
    VARIANT v;
    n->a = a;
    utf8(a, a->lpVtbl->get_accName, n->name, sizeof n->name);
    utf8(a, a->lpVtbl->get_accValue, n->value, sizeof n->value);
    utf8(a, a->lpVtbl->get_accDefaultAction, n->action, sizeof n->action);
    VariantInit(&v);
    n->role = a->lpVtbl->get_accRole(a, self(), &v) == S_OK ? v.lVal : 0;
    n->state = a->lpVtbl->get_accState(a, self(), &v) == S_OK ? v.lVal : 0;
    a->lpVtbl->accLocation(a, &n->x, &n->y, &n->w, &n->h, self());
}

static IAccessible *held(VARIANT v) /* the IAccessible of a child or navigation answer */
{
    IAccessible *a = NULL;
    if (v.vt == VT_DISPATCH && v.pdispVal) {
        v.pdispVal->lpVtbl->QueryInterface(v.pdispVal, &IID_IAccessible, (void **)&a);
        v.pdispVal->lpVtbl->Release(v.pdispVal);
    }
    return a;
}

static IUnknown *identity(IAccessible *a)
{
    IUnknown *u = NULL;
    if (a && a->lpVtbl->QueryInterface(a, &IID_IUnknown, (void **)&u) == S_OK) u->lpVtbl->Release(u);
    return u;
}

/* The tree under a, depth first, into nodes[]; at each node the children
 * AccessibleChildren lists must be those get_accChild and accNavigate give. */
static void walk(IAccessible *a, int depth)
{
    VARIANT kids[64], v;
    long n = 0, got = 0;
    IAccessible *next;
    Node *me = &nodes[count++];
    facts(a, me);
    me->depth = depth;
    a->lpVtbl->get_accChildCount(a, &n);
    if (n <= 0 || n > 64 || AccessibleChildren(a, 0, n, kids, &got) != S_OK) return;
    VariantInit(&v);
    a->lpVtbl->accNavigate(a, NAVDIR_FIRSTCHILD, self(), &v);
    next = held(v);
    for (long i = 0; i < got; ++i) {
        IAccessible *kid = held(kids[i]), *nth;
        IDispatch *d = NULL;
        v = self();
        v.lVal = i + 1;
        nth = a->lpVtbl->get_accChild(a, v, &d) == S_OK ? held((VARIANT){.vt = VT_DISPATCH, .pdispVal = d}) : NULL;
        misnavigated += !kid || identity(kid) != identity(nth) || identity(kid) != identity(next);
        if (nth) nth->lpVtbl->Release(nth);
        VariantInit(&v);
        if (next) next->lpVtbl->accNavigate(next, NAVDIR_NEXT, self(), &v), next->lpVtbl->Release(next);
        next = held(v);
        if (kid && count < 200) walk(kid, depth + 1);
    }
    misnavigated += next != NULL;
}

static void forget(void)
{
    for (; count > 0; --count) nodes[count - 1].a->lpVtbl->Release(nodes[count - 1].a);
}

static void print(void)
{
    wchar_t role[40];
    for (int i = 0; i < count; ++i) {
        Node *n = &nodes[i];
        GetRoleTextW((DWORD)n->role, role, 40);
        for (char *c = n->value; *c; ++c) if (*c == '\r' || *c == '\n') *c = ' ';
        if (strlen(n->value) > 40) strcpy(n->value + 37, "...");
        printf("%*s%ls \"%s\"%s%s%s%s%s%s\n", 2 * n->depth, "", role, n->name, *n->value ? " = " : "", n->value,
               n->state & STATE_SYSTEM_INVISIBLE ? " [invisible]" : "", n->state & STATE_SYSTEM_READONLY ? " [read-only]" : "",
               *n->action ? " action: " : "", n->action);
    }
}

/* The node a user can find by that name and role (0: any), if any. */
static Node *find(const char *name, long role)
{
    for (int i = 0; i < count; ++i)
        if (!strcmp(nodes[i].name, name) && (!role || nodes[i].role == role) && !(nodes[i].state & STATE_SYSTEM_INVISIBLE))
            return &nodes[i];
    return NULL;
}

static int is(const char *name, long role, const char *value, const char *action)
{
    Node *n = find(name, role);
    char what[200];
    snprintf(what, sizeof what, "\"%s\"%s%s%s", name, value ? " reads " : "", value ? value : "", action ? " and is pressed" : "");
    return check(n && (!value || !strncmp(n->value, value, strlen(value))) && (!action || !strcmp(n->action, action)), what);
}

/* Walks the window's tree again until the node reads want, for at most a
 * minute, running the message loop that brings the events meanwhile. */
static int until(HWND window, const char *name, const char *want)
{
    for (int i = 0; i < 300; ++i) {
        IAccessible *root = NULL;
        MSG m;
        Node *n;
        while (PeekMessageW(&m, NULL, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        forget();
        misnavigated = 0;
        if (AccessibleObjectFromWindow(window, OBJID_CLIENT, &IID_IAccessible, (void **)&root) == S_OK) walk(root, 0);
        if ((n = find(name, 0)) && !strcmp(n->value, want)) return 1;
        Sleep(200);
    }
    return 0;
}

/* A press that ends the program may lose its reply: under Wine the reply
 * leaves from COM's own thread after the call has returned, and the
 * program can be gone by then. That is the program ending, as asked; the
 * checks after it say whether it did. */
static int endedCall(HRESULT hr)
{
    return hr == RPC_E_DISCONNECTED || hr == RPC_E_SERVER_DIED || hr == RPC_E_SERVER_DIED_DNE
        || hr == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED) || hr == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE);
}

static int press(HWND window, const char *name, int ends)
{
    Node *n;
    HRESULT hr = E_FAIL;
    char what[200];
    if ((n = until(window, name, "") ? find(name, ROLE_SYSTEM_PUSHBUTTON) : NULL))
        hr = n->a->lpVtbl->accDoDefaultAction(n->a, self());
    snprintf(what, sizeof what, "\"%s\" pressed (0x%08lx)", name, (unsigned long)hr);
    return check(hr == S_OK || (ends && endedCall(hr)), what);
}

static void CALLBACK heard(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child, DWORD t, DWORD ms)
{
    IAccessible *a = NULL;
    VARIANT v;
    Node n;
    if (AccessibleObjectFromEvent(window, (DWORD)object, (DWORD)child, &a, &v) != S_OK) return;
    facts(a, &n);
    a->lpVtbl->Release(a);
    heardStatus |= event == EVENT_OBJECT_VALUECHANGE && !strcmp(n.name, "CPU status") && !strcmp(n.value, "On");
    heardLamp |= event == EVENT_OBJECT_STATECHANGE && !strcmp(n.name, "Left console lamp 3") && !strcmp(n.value, "lit");
    if (event == EVENT_OBJECT_FOCUS && n.role == ROLE_SYSTEM_PUSHBUTTON) strcpy(heardFocus, n.name);
    (void)hook, (void)t, (void)ms;
}

static HWND shown(const wchar_t *title)
{
    HWND w = NULL;
    for (int i = 0; i < 300 && !(w && IsWindowVisible(w)); ++i, Sleep(200)) w = FindWindowW(L"VelkForm", title);
    return check(w && IsWindowVisible(w), "a window shown") ? w : NULL;
}

int main(int argc, char **argv)
{
    long scale, zone[4];
    HWND w;
    POINT origin = {0, 0};
    VARIANT v;
    IAccessible *under;
    if (argc != 3 || sscanf(argv[1], "%ld", &scale) != 1 || sscanf(argv[2], "%ldx%ld+%ld+%ld", &zone[0], &zone[1], &zone[2], &zone[3]) != 4)
        return fprintf(stderr, "usage: msaaclient SCALE WIDTHxHEIGHT+X+Y\n"), 2;
    setvbuf(stdout, NULL, _IONBF, 0);
    CoInitialize(NULL);
    SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, NULL, heard, 0, 0, WINEVENT_OUTOFCONTEXT);

    if (!(w = shown(L"VELK-Simulator Version 1")) || !check(until(w, "I Agree", ""), "the disclaimer's own tree")) return 1;
    printf("# the disclaimer:\n"), print();
    check(!misnavigated, "accNavigate and get_accChild agree with AccessibleChildren");
    is("I Do Not Agree", ROLE_SYSTEM_PUSHBUTTON, NULL, "Press");
    is("Warning", ROLE_SYSTEM_TEXT, "WARNING!!", NULL);
    is("Disclaimer:", ROLE_SYSTEM_STATICTEXT, NULL, NULL);
    is("This is a program created by: Tovek Marrin AKA Dravimok", ROLE_SYSTEM_STATICTEXT, NULL, NULL);
    is("Looking for info or the latest version? Visit: velk.example", ROLE_SYSTEM_STATICTEXT, NULL, NULL);
    Node *no = find("I Do Not Agree", ROLE_SYSTEM_PUSHBUTTON);
    IAccessible *hidden = no ? no->a : NULL;
    if (hidden) hidden->lpVtbl->AddRef(hidden);
    press(w, "I Agree", 0);

    if (!(w = shown(L"Form1")) || !until(w, "CPU status", "Off")) return 1;
    if (hidden) hidden->lpVtbl->accDoDefaultAction(hidden, self()), hidden->lpVtbl->Release(hidden);
    if (!check(hidden && until(w, "CPU status", "Off"), "the hidden disclaimer's \"I Do Not Agree\" pressed: the program runs on"))
        return 1;
    is("VELK Simulator dashboard", ROLE_SYSTEM_CLIENT, NULL, NULL);
    is("Central display", 0, "nothing", NULL);
    for (size_t i = 0; i < sizeof NamedZones / sizeof *NamedZones; ++i)
        is(NamedZones[i].name, ROLE_SYSTEM_PUSHBUTTON, NULL, "Press");
    for (size_t i = 0; i < sizeof LampZones / sizeof *LampZones; ++i)
        is(LampZones[i].name, ROLE_SYSTEM_PUSHBUTTON, NULL, "Press"), is(LampZones[i].lampName, ROLE_SYSTEM_GRAPHIC, "dark", NULL);
    press(w, "Power", 0);
    check(until(w, "CPU status", "On") && until(w, "Speed readout", "000") && until(w, "Engine speed readout", "000")
          && until(w, "Central display", "normal picture"), "powered on: status On, readouts 000, the normal picture");
    printf("# the dashboard, powered on:\n"), print();
    check(!misnavigated, "accNavigate and get_accChild agree with AccessibleChildren");
    is("Speed readout", ROLE_SYSTEM_STATICTEXT, "000", NULL);
    check(find("CPU status", ROLE_SYSTEM_TEXT) && find("CPU status", ROLE_SYSTEM_TEXT)->state & STATE_SYSTEM_READONLY,
          "\"CPU status\" is read-only");
    {
        /* Child ids a client makes up: none past the rows, none that overflows when turned into a row. */
        BSTR name = NULL;
        VARIANT bad[] = {{.vt = VT_I4, .lVal = LONG_MIN}, {.vt = VT_I4, .lVal = -100000}, {.vt = VT_I4, .lVal = 100000}};
        int refused = 1;
        for (size_t i = 0; i < sizeof bad / sizeof *bad; ++i)
            refused &= nodes[0].a->lpVtbl->get_accName(nodes[0].a, bad[i], &name) == E_INVALIDARG && !name;
        check(refused, "made-up child ids are refused");
    }

    /* Where a zone is drawn, on the screen, and what lies under its centre. */
    Node *power = find("Power", ROLE_SYSTEM_PUSHBUTTON);
    ClientToScreen(w, &origin);
    if (!check(power && power->x == origin.x + zone[2] * scale && power->y == origin.y + zone[3] * scale
          && power->w == zone[0] * scale && power->h == zone[1] * scale, "\"Power\" where it is drawn"))
        return 1;
    VariantInit(&v);
    nodes[0].a->lpVtbl->accHitTest(nodes[0].a, power->x + power->w / 2, power->y + power->h / 2, &v);
    check(identity(under = held(v)) == identity(power->a), "accHitTest at its centre finds \"Power\"");
    if (under) under->lpVtbl->Release(under);

    press(w, "Auto", 0);
    check(until(w, "Central display", "auto picture"), "the display tells the auto picture");
    press(w, "Left console lamp 3, left button", 0);
    check(until(w, "Left console lamp 3", "lit"), "the lamp tells it is lit");
    check(heardStatus && heardLamp, "heard the status field's value change and the lamp's state change");
    {
        /* A user's Tab moves the focus to a zone: the event names it, and the window says so when asked. */
        INPUT tab[2] = {{.type = INPUT_KEYBOARD, .ki = {.wVk = VK_TAB}},
                        {.type = INPUT_KEYBOARD, .ki = {.wVk = VK_TAB, .dwFlags = KEYEVENTF_KEYUP}}};
        IAccessible *focused = NULL;
        Node *n = NULL;
        SendInput(2, tab, sizeof *tab);
        /* Each walk runs the message loop, which brings the events. */
        for (int i = 0; i < 300 && !*heardFocus; ++i, Sleep(200)) until(w, "CPU status", "On");
        VariantInit(&v);
        if (until(w, heardFocus, "") && (n = find(heardFocus, ROLE_SYSTEM_PUSHBUTTON))
            && nodes[0].a->lpVtbl->get_accFocus(nodes[0].a, &v) == S_OK)
            focused = held(v);
        printf("# Tab moved the focus to \"%s\"\n", heardFocus);
        check(n && (n->state & STATE_SYSTEM_FOCUSED) && identity(focused) == identity(n->a),
              "after Tab, the zone the focus event names has the focus when asked");
        if (focused) focused->lpVtbl->Release(focused);
    }
    press(w, "Exit", 1);
    forget();
    for (int i = 0; i < 300 && IsWindow(w); ++i) Sleep(200);
    check(!IsWindow(w), "the dashboard is gone");
    CoUninitialize();
    return printf("%d failed\n", failures), failures;
}
