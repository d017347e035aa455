/* A screen reader's view of the Windows build, through MSAA, from another
 * process (run by tests/msaa.sh under Wine while the program runs): it
 * finds the program's windows, prints each tree it walks, compares the
 * dashboard's names and roles with the table the Linux test uses, presses
 * "I Agree", "Power", "Auto", a lamp's button and "Exit" through
 * accDoDefaultAction and checks what follows, and listens to the events.
 * Usage: msaaclient SCALE POWER-ZONE (WIDTHxHEIGHT+X+Y, layout pixels in
 * the dashboard, from the zone table). Prints "ok"/"not ok" lines; exits
 * with the number of failures. */
#define UNICODE
#define _UNICODE
#include <windows.h>
#include <initguid.h> /* IID_IAccessible as data: see the check in tests/msaa.sh */
#include <oleacc.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "accessiblenames.h"

static int failures;
static int valueEvents, stateEvents, statusHeard, lampHeard;

static void check(int ok, const char *what)
{
    printf("%s - %s\n", ok ? "ok" : "not ok", what);
    fflush(stdout);
    failures += !ok;
}

static VARIANT self(void)
{
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
}

/* A BSTR property as UTF-8, "" when there is none. */
static void utf8(BSTR s, char *out, int size)
{
    out[0] = 0;
    if (s)
        WideCharToMultiByte(CP_UTF8, 0, s, -1, out, size, NULL, NULL);
    SysFreeString(s);
}

typedef struct
{
    char name[512], value[512], action[32];
    long role, state, x, y, w, h;
} Facts;

static void facts(IAccessible *a, Facts *f)
{
    VARIANT me = self(), v;
    BSTR s = NULL;
    memset(f, 0, sizeof *f);
    if (a->lpVtbl->get_accName(a, me, &s) >= 0) utf8(s, f->name, sizeof f->name);
    s = NULL;
    if (a->lpVtbl->get_accValue(a, me, &s) >= 0) utf8(s, f->value, sizeof f->value);
    s = NULL;
    if (a->lpVtbl->get_accDefaultAction(a, me, &s) >= 0) utf8(s, f->action, sizeof f->action);
    VariantInit(&v);
    if (a->lpVtbl->get_accRole(a, me, &v) >= 0 && v.vt == VT_I4) f->role = v.lVal;
    VariantInit(&v);
    if (a->lpVtbl->get_accState(a, me, &v) >= 0 && v.vt == VT_I4) f->state = v.lVal;
    a->lpVtbl->accLocation(a, &f->x, &f->y, &f->w, &f->h, me);
}

static IUnknown *identity(IAccessible *a)
{
    IUnknown *u = NULL;
    a->lpVtbl->QueryInterface(a, &IID_IUnknown, (void **)&u);
    if (u) u->lpVtbl->Release(u);
    return u;
}

static IAccessible *fromVariant(VARIANT *v)
{
    IAccessible *a = NULL;
    if (v->vt == VT_DISPATCH && v->pdispVal)
        v->pdispVal->lpVtbl->QueryInterface(v->pdispVal, &IID_IAccessible, (void **)&a);
    VariantClear(v);
    return a;
}

/* A node's children as AccessibleChildren gives them; each is held. */
static int children(IAccessible *a, IAccessible **out, int most)
{
    long count = 0, got = 0;
    VARIANT v[128];
    a->lpVtbl->get_accChildCount(a, &count);
    if (count > most || count > 128) count = most < 128 ? most : 128;
    if (count <= 0 || AccessibleChildren(a, 0, count, v, &got) < 0)
        return 0;
    for (long i = 0; i < got; ++i)
        out[i] = fromVariant(&v[i]);
    return (int)got;
}

/* Whether accNavigate and get_accChild go where AccessibleChildren does. */
static int agrees(IAccessible *a, IAccessible **kids, int n)
{
    VARIANT me = self(), at, next;
    IAccessible *walk;
    int ok = 1;
    for (int i = 0; i < n && ok; ++i) {
        IDispatch *d = NULL;
        VariantInit(&at);
        at.vt = VT_I4;
        at.lVal = i + 1;
        ok = a->lpVtbl->get_accChild(a, at, &d) == S_OK && d;
        if (ok) {
            IAccessible *c = NULL;
            d->lpVtbl->QueryInterface(d, &IID_IAccessible, (void **)&c);
            d->lpVtbl->Release(d);
            ok = c && identity(c) == identity(kids[i]);
            if (c) c->lpVtbl->Release(c);
        }
    }
    VariantInit(&next);
    a->lpVtbl->accNavigate(a, NAVDIR_FIRSTCHILD, me, &next);
    walk = fromVariant(&next);
    for (int i = 0; ok && i < n; ++i) {
        ok = walk && identity(walk) == identity(kids[i]);
        if (walk) {
            IAccessible *was = walk;
            VariantInit(&next);
            was->lpVtbl->accNavigate(was, NAVDIR_NEXT, me, &next);
            walk = fromVariant(&next);
            was->lpVtbl->Release(was);
        }
    }
    if (walk) { ok = 0; walk->lpVtbl->Release(walk); }
    return ok;
}

/* Prints the tree as indented lines, checks navigation at every node, and
 * counts the push buttons a user can reach. */
static int disagreements, reachableButtons;
static void print(IAccessible *a, int depth)
{
    IAccessible *kids[128];
    wchar_t role[64];
    char roleText[64];
    Facts f;
    int n;
    facts(a, &f);
    GetRoleTextW((DWORD)f.role, role, 64);
    WideCharToMultiByte(CP_UTF8, 0, role, -1, roleText, sizeof roleText, NULL, NULL);
    for (char *c = f.value; *c; ++c)
        if (*c == '\r' || *c == '\n') *c = ' ';
    if (strlen(f.value) > 40) strcpy(f.value + 37, "...");
    printf("%*s%s \"%s\"%s%s%s%s%s%s\n", 2 * depth, "", roleText, f.name, *f.value ? " = " : "", f.value,
           f.state & STATE_SYSTEM_INVISIBLE ? " [invisible]" : "", f.state & STATE_SYSTEM_READONLY ? " [read-only]" : "",
           *f.action ? " action: " : "", f.action);
    if (f.role == ROLE_SYSTEM_PUSHBUTTON && !(f.state & STATE_SYSTEM_INVISIBLE) && !strcmp(f.action, "Press"))
        ++reachableButtons;
    n = children(a, kids, 128);
    disagreements += !agrees(a, kids, n);
    for (int i = 0; i < n; ++i)
        if (kids[i]) {
            print(kids[i], depth + 1);
            kids[i]->lpVtbl->Release(kids[i]);
        }
}

/* The first node, depth first, with that name and role (0: any); held. */
static IAccessible *find(IAccessible *a, const char *name, long role, int visibleOnly)
{
    IAccessible *kids[128], *found = NULL;
    Facts f;
    facts(a, &f);
    if (!strcmp(f.name, name) && (!role || f.role == role) && !(visibleOnly && (f.state & STATE_SYSTEM_INVISIBLE))) {
        a->lpVtbl->AddRef(a);
        return a;
    }
    int n = children(a, kids, 128);
    for (int i = 0; i < n; ++i) {
        if (!found && kids[i]) found = find(kids[i], name, role, visibleOnly);
        if (kids[i]) kids[i]->lpVtbl->Release(kids[i]);
    }
    return found;
}

/* A node's value now, or "(none)" when no such node can be seen. */
static void valueOf(IAccessible *root, const char *name, char *out, int size)
{
    IAccessible *a = find(root, name, 0, 1);
    Facts f;
    snprintf(out, size, "(none)");
    if (!a) return;
    facts(a, &f);
    snprintf(out, size, "%s", f.value);
    a->lpVtbl->Release(a);
}

static void CALLBACK heard(HWINEVENTHOOK hook, DWORD event, HWND hwnd, LONG object, LONG child, DWORD thread, DWORD ms)
{
    IAccessible *a = NULL;
    VARIANT v;
    Facts f;
    (void)hook; (void)thread; (void)ms;
    if (AccessibleObjectFromEvent(hwnd, (DWORD)object, (DWORD)child, &a, &v) < 0 || !a)
        return;
    if (v.vt == VT_I4 && v.lVal != CHILDID_SELF) {  /* a simple child: not what the program gives */
        a->lpVtbl->Release(a);
        return;
    }
    facts(a, &f);
    a->lpVtbl->Release(a);
    if (event == EVENT_OBJECT_VALUECHANGE) {
        ++valueEvents;
        statusHeard |= !strcmp(f.name, "CPU status") && !strcmp(f.value, "On");
    } else if (event == EVENT_OBJECT_STATECHANGE) {
        ++stateEvents;
        lampHeard |= !strcmp(f.name, "Left console lamp 3") && !strcmp(f.value, "lit");
    }
}

/* Runs the message loop (the events come through it) until the value of
 * the named node is want, for at most a minute: a loaded machine is
 * waited for. */
static int waitValue(IAccessible *root, const char *name, const char *want)
{
    char got[512];
    for (int i = 0; i < 600; ++i) {
        MSG m;
        while (PeekMessageW(&m, NULL, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
        valueOf(root, name, got, sizeof got);
        if (!strcmp(got, want)) return 1;
        Sleep(100);
    }
    fprintf(stderr, "%s: \"%s\", not \"%s\"\n", name, got, want);
    return 0;
}

static HWND waitWindow(const wchar_t *title, int shown)
{
    for (int i = 0; i < 600; ++i) {
        HWND w = FindWindowW(L"VelkForm", title);
        if ((w && IsWindowVisible(w)) == shown) return w ? w : (HWND)1;
        Sleep(100);
    }
    return NULL;
}

static IAccessible *client(HWND window)
{
    IAccessible *a = NULL;
    HRESULT hr = AccessibleObjectFromWindow(window, OBJID_CLIENT, &IID_IAccessible, (void **)&a);
    check(hr == S_OK && a, "the window answers with an IAccessible of its own");
    return a;
}

static int press(IAccessible *root, const char *name)
{
    IAccessible *a = find(root, name, ROLE_SYSTEM_PUSHBUTTON, 1);
    int ok = a && a->lpVtbl->accDoDefaultAction(a, self()) == S_OK;
    if (a) a->lpVtbl->Release(a);
    return ok;
}

static int nodeIs(IAccessible *root, const char *name, long role, const char *value, const char *action)
{
    IAccessible *a = find(root, name, role, 1);
    Facts f;
    if (!a) return 0;
    facts(a, &f);
    a->lpVtbl->Release(a);
    return (!value || !strncmp(f.value, value, strlen(value))) && (!action || !strcmp(f.action, action));
}

static void disclaimer(HWND window)
{
    IAccessible *root = client(window);
    char line[160];
    if (!root) return;
    printf("# the disclaimer:\n");
    disagreements = 0;
    print(root, 0);
    check(!disagreements, "disclaimer: accNavigate and get_accChild agree with AccessibleChildren");
    check(nodeIs(root, "I Agree", ROLE_SYSTEM_PUSHBUTTON, NULL, "Press")
          && nodeIs(root, "I Do Not Agree", ROLE_SYSTEM_PUSHBUTTON, NULL, "Press"), "disclaimer: both buttons");
    check(nodeIs(root, "Warning", ROLE_SYSTEM_TEXT, "WARNING!!", NULL), "disclaimer: the warning text");
    check(nodeIs(root, "Disclaimer:", ROLE_SYSTEM_STATICTEXT, NULL, NULL)
          && nodeIs(root, "This is a program created by: Tovek Marrin AKA Dravimok", ROLE_SYSTEM_STATICTEXT, NULL, NULL)
          && nodeIs(root, "Looking for info or the latest version? Visit: velk.example", ROLE_SYSTEM_STATICTEXT, NULL, NULL),
          "disclaimer: heading and credit lines");
    snprintf(line, sizeof line, "\"I Agree\" pressed through accDoDefaultAction");
    check(press(root, "I Agree"), line);
    root->lpVtbl->Release(root);
}

static void dashboard(HWND window, int scale, long zone[4])
{
    IAccessible *root = client(window), *lamp, *hit;
    char name[160];
    Facts f;
    VARIANT at;
    if (!root) return;
    facts(root, &f);
    check(!strcmp(f.name, "VELK Simulator dashboard"), "dashboard: the window by what it is");
    for (size_t i = 0; i < sizeof NamedZones / sizeof *NamedZones; ++i) {
        snprintf(name, sizeof name, "zone \"%s\" is a push button, pressed by \"Press\"", NamedZones[i].name);
        check(nodeIs(root, NamedZones[i].name, ROLE_SYSTEM_PUSHBUTTON, NULL, "Press"), name);
    }
    for (size_t i = 0; i < sizeof LampZones / sizeof *LampZones; ++i) {
        snprintf(name, sizeof name, "zone \"%s\" and its lamp, dark", LampZones[i].name);
        check(nodeIs(root, LampZones[i].name, ROLE_SYSTEM_PUSHBUTTON, NULL, "Press")
              && nodeIs(root, LampZones[i].lampName, ROLE_SYSTEM_GRAPHIC, "dark", NULL), name);
    }
    check(nodeIs(root, "Central display", 0, "nothing", NULL), "the display shows nothing while off");
    check(nodeIs(root, "CPU status", ROLE_SYSTEM_TEXT, "Off", NULL), "the status field says Off");
    check(press(root, "Power"), "\"Power\" pressed");
    check(waitValue(root, "CPU status", "On"), "the status field says On");
    check(waitValue(root, "Speed readout", "000") && waitValue(root, "Engine speed readout", "000"),
          "the readouts read 000");
    check(waitValue(root, "Central display", "normal picture"), "the display shows the normal picture");
    printf("# the dashboard, powered on:\n");
    disagreements = reachableButtons = 0;
    print(root, 0);
    check(!disagreements, "dashboard: accNavigate and get_accChild agree with AccessibleChildren");
    /* The round button that does nothing is no button; the strip below the
     * pursuit picture is out of reach. */
    check(reachableButtons == 39, "39 zones can be pressed while the display shows the normal picture");
    check(press(root, "Auto") && waitValue(root, "Central display", "auto picture"), "\"Auto\": the auto picture");
    check(press(root, "Left console lamp 3, left button") && waitValue(root, "Left console lamp 3", "lit"),
          "a lamp's button: the lamp is lit");
    check(valueEvents > 0 && statusHeard, "value-change events heard, the status field's among them");
    check(stateEvents > 0 && lampHeard, "state-change events heard, the lamp's among them");

    /* Where the power zone is drawn, and what lies under its centre. */
    lamp = find(root, "Power", ROLE_SYSTEM_PUSHBUTTON, 1);
    if (lamp) {
        POINT origin = {0, 0};
        facts(lamp, &f);
        ClientToScreen(window, &origin);
        snprintf(name, sizeof name, "\"Power\" at (%ld,%ld) %ldx%ld on the screen", f.x, f.y, f.w, f.h);
        check(f.x == origin.x + zone[2] * scale && f.y == origin.y + zone[3] * scale && f.w == zone[0] * scale
              && f.h == zone[1] * scale, name);
        VariantInit(&at);
        root->lpVtbl->accHitTest(root, f.x + f.w / 2, f.y + f.h / 2, &at);
        hit = fromVariant(&at);
        if (hit) facts(hit, &f);
        check(hit && !strcmp(f.name, "Power"), "accHitTest at its centre finds \"Power\"");
        if (hit) hit->lpVtbl->Release(hit);
        lamp->lpVtbl->Release(lamp);
    }
    check(press(root, "Exit"), "\"Exit\" pressed");
    root->lpVtbl->Release(root);
}

int main(int argc, char **argv)
{
    long zone[4] = {0};
    HWND window;
    int scale = argc > 1 ? atoi(argv[1]) : 1;
    if (argc < 3 || sscanf(argv[2], "%ldx%ld+%ld+%ld", &zone[0], &zone[1], &zone[2], &zone[3]) != 4) {
        fprintf(stderr, "usage: msaaclient SCALE WIDTHxHEIGHT+X+Y\n");
        return 2;
    }
    CoInitialize(NULL);
    SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_VALUECHANGE, NULL, heard, 0, 0, WINEVENT_OUTOFCONTEXT);
    window = waitWindow(L"VELK-Simulator Version 1", 1);
    check(window != NULL, "the disclaimer is shown");
    if (window) disclaimer(window);
    window = waitWindow(L"Form1", 1);
    check(window != NULL, "the dashboard is shown");
    if (window) dashboard(window, scale, zone);
    check(waitWindow(L"Form1", 0) != NULL, "the dashboard is gone");
    CoUninitialize();
    printf("%d failed\n", failures);
    return failures;
}
