#include "msaa.h"
#include "accessibility/accessibletree.h"
#include "accessibility/focus.h"
#include "drawing.h"
#include "form/form.h"
#include "description/layout.h"
#include "text.h"
#include "win32backend.h"
#include "win32control.h"

// IID_IAccessible defined here, as data: MinGW's oleacc import library
// also exports the name, as a thunk, and a QueryInterface compared with
// that would fail on every system.
#include <initguid.h>
#include <oleacc.h>

#include <iterator>
#include <optional>

namespace runtime::win32 {

namespace a = accessibility;

namespace {

// A row's id in events: the root resolves any row by it. Negative, clear
// of the child ids 1..n that index a node's own children.
LONG eventId(int row) { return -(row + 1); }

} // namespace

class Element;

// What every element of one window shares; the form is cleared when the
// window goes, and elements still held by a client then say so.
struct Link
{
    Form *form;
    HWND window;
    int scale;
    std::vector<Element *> elements;  // by row + 1, for a stable identity

    // The row with the keyboard's focus, as the system has it: the one
    // whose child window has it, or while the window itself has it the
    // core's focused zone (-1: none, the window's own); nothing when the
    // focus is elsewhere. Only a window of this thread can have it, and
    // clients' calls come on this thread.
    std::optional<int> focused() const
    {
        const HWND at = GetFocus();
        if (!form || !at)
            return std::nullopt;
        if (at == window)
            return form->focused();
        const int row = IsChild(window, at) ? GetDlgCtrlID(at) - childId(0) : -1;
        if (row < 0 || size_t(row) >= form->description().controls.size())
            return std::nullopt;
        return row;
    }
};

namespace {

// By a::Role, in its order; a row with none is never an element.
const LONG Roles[] = {0, ROLE_SYSTEM_CLIENT, ROLE_SYSTEM_PANE, ROLE_SYSTEM_PUSHBUTTON, ROLE_SYSTEM_STATICTEXT,
                      ROLE_SYSTEM_TEXT, ROLE_SYSTEM_GRAPHIC, ROLE_SYSTEM_ANIMATION};
static_assert(std::size(Roles) == size_t(a::Role::Animation) + 1);

HRESULT text(const std::string &utf8, BSTR *out)
{
    *out = utf8.empty() ? nullptr : SysAllocString(toWide(utf8).c_str());
    return utf8.empty() ? S_FALSE : S_OK;
}

} // namespace

class Element final : public IAccessible
{
public:
    Element(std::shared_ptr<Link> link, int row) : m_link(std::move(link)), m_row(row) {}

    // The element of a row, made once and kept while a client holds it.
    static Element *of(const std::shared_ptr<Link> &link, int row)
    {
        Element *&e = link->elements[size_t(row + 1)];
        if (e)
            e->AddRef();
        else
            e = new Element(link, row);
        return e;
    }

    // --- IUnknown ---
    STDMETHODIMP QueryInterface(REFIID riid, void **out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IAccessible)) {
            *out = static_cast<IAccessible *>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ULONG(InterlockedIncrement(&m_refs)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG left = InterlockedDecrement(&m_refs);
        if (left == 0) {
            m_link->elements[size_t(m_row + 1)] = nullptr;
            delete this;
        }
        return ULONG(left);
    }

    // --- IDispatch: not offered; clients call IAccessible directly ---
    STDMETHODIMP GetTypeInfoCount(UINT *count) override { *count = 0; return S_OK; }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo **) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) override { return E_NOTIMPL; }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *, UINT *) override
    {
        return E_NOTIMPL;
    }

    // --- IAccessible ---
    STDMETHODIMP get_accParent(IDispatch **out) override
    {
        *out = nullptr;
        if (!form())
            return CO_E_OBJNOTCONNECTED;
        if (m_row < 0)
            return AccessibleObjectFromWindow(m_link->window, DWORD(OBJID_WINDOW), IID_IDispatch,
                                              reinterpret_cast<void **>(out));
        *out = of(m_link, a::parent(*form(), m_row));
        return S_OK;
    }
    STDMETHODIMP get_accChildCount(long *count) override
    {
        if (!form())
            return CO_E_OBJNOTCONNECTED;
        *count = long(a::children(*form(), m_row).size());
        return S_OK;
    }
    STDMETHODIMP get_accChild(VARIANT child, IDispatch **out) override
    {
        *out = nullptr;
        return onRow(child, [&](int row) {
            if (row == m_row)
                return E_INVALIDARG;
            *out = of(m_link, row);
            return S_OK;
        });
    }
    STDMETHODIMP get_accName(VARIANT child, BSTR *out) override
    {
        return answer(child, out, [](const Form &f, int row) { return a::name(f, row); });
    }
    STDMETHODIMP get_accValue(VARIANT child, BSTR *out) override
    {
        return answer(child, out, [](const Form &f, int row) { return a::value(f, row); });
    }
    STDMETHODIMP get_accDescription(VARIANT, BSTR *out) override { *out = nullptr; return S_FALSE; }
    STDMETHODIMP get_accHelp(VARIANT, BSTR *out) override { *out = nullptr; return S_FALSE; }
    STDMETHODIMP get_accHelpTopic(BSTR *file, VARIANT, long *topic) override
    {
        *file = nullptr;
        *topic = 0;
        return S_FALSE;
    }
    STDMETHODIMP get_accKeyboardShortcut(VARIANT, BSTR *out) override { *out = nullptr; return S_FALSE; }
    STDMETHODIMP get_accRole(VARIANT child, VARIANT *out) override
    {
        VariantInit(out);
        return onRow(child, [&](int row) {
            out->vt = VT_I4;
            out->lVal = Roles[int(a::role(*form(), row))];
            return S_OK;
        });
    }
    STDMETHODIMP get_accState(VARIANT child, VARIANT *out) override
    {
        VariantInit(out);
        return onRow(child, [&](int row) {
            const bool invisible = !IsWindowVisible(m_link->window) || a::invisible(*form(), row);
            out->vt = VT_I4;
            out->lVal = (invisible ? STATE_SYSTEM_INVISIBLE : 0) | (a::readOnly(*form(), row) ? STATE_SYSTEM_READONLY : 0)
                        | (row >= 0 && focus::takes(*form(), row) ? STATE_SYSTEM_FOCUSABLE : 0)
                        | (row >= 0 && m_link->focused() == row ? STATE_SYSTEM_FOCUSED : 0);
            return S_OK;
        });
    }
    // The focused row, from the root or any element holding it: itself as
    // CHILDID_SELF, a row below it as its element.
    STDMETHODIMP get_accFocus(VARIANT *out) override
    {
        VariantInit(out);
        if (!form())
            return CO_E_OBJNOTCONNECTED;
        const std::optional<int> row = m_link->focused();
        if (row && *row == m_row) {
            out->vt = VT_I4;
            out->lVal = CHILDID_SELF;
            return S_OK;
        }
        for (int up = row.value_or(-1); up >= 0; up = a::parent(*form(), up))
            if (a::parent(*form(), up) == m_row) {
                out->vt = VT_DISPATCH;
                out->pdispVal = of(m_link, *row);
                return S_OK;
            }
        return S_FALSE;
    }
    STDMETHODIMP get_accSelection(VARIANT *out) override { VariantInit(out); return S_FALSE; }
    STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR *out) override
    {
        *out = nullptr;
        return onRow(child, [&](int row) { return a::pressable(*form(), row) ? text("Press", out) : S_FALSE; });
    }
    STDMETHODIMP accSelect(long, VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    STDMETHODIMP accLocation(long *x, long *y, long *width, long *height, VARIANT child) override
    {
        return onRow(child, [&](int row) {
            RECT r;
            GetClientRect(m_link->window, &r);
            if (row >= 0)
                r = device(windowRect(form()->description(), row), m_link->scale);
            MapWindowPoints(m_link->window, nullptr, reinterpret_cast<POINT *>(&r), 2);
            *x = r.left;
            *y = r.top;
            *width = r.right - r.left;
            *height = r.bottom - r.top;
            return S_OK;
        });
    }
    STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT *out) override
    {
        VariantInit(out);
        int row;
        if (HRESULT hr = resolve(start, row); FAILED(hr))
            return hr;
        std::optional<int> to;
        switch (direction) {
        case NAVDIR_FIRSTCHILD: to = a::child(*form(), row, 0); break;
        case NAVDIR_LASTCHILD:  to = a::child(*form(), row, long(a::children(*form(), row).size()) - 1); break;
        case NAVDIR_NEXT:       to = a::sibling(*form(), row, 1); break;
        case NAVDIR_PREVIOUS:   to = a::sibling(*form(), row, -1); break;
        default:
            return DISP_E_MEMBERNOTFOUND;  // by position: a client finds its way by accHitTest
        }
        if (!to)
            return S_FALSE;
        out->vt = VT_DISPATCH;
        out->pdispVal = of(m_link, *to);
        return S_OK;
    }
    STDMETHODIMP accHitTest(long x, long y, VARIANT *out) override
    {
        VariantInit(out);
        if (!form())
            return CO_E_OBJNOTCONNECTED;
        POINT at{x, y};
        RECT client;
        ScreenToClient(m_link->window, &at);
        GetClientRect(m_link->window, &client);
        if (!PtInRect(&client, at))
            return S_FALSE;
        const int row = a::hit(*form(), m_row, at.x / m_link->scale, at.y / m_link->scale);
        if (row == m_row) {
            out->vt = VT_I4;
            out->lVal = CHILDID_SELF;
        } else {
            out->vt = VT_DISPATCH;
            out->pdispVal = of(m_link, row);
        }
        return S_OK;
    }
    STDMETHODIMP accDoDefaultAction(VARIANT child) override
    {
        return onRow(child, [&](int row) {
            if (!a::pressable(*form(), row))
                return DISP_E_MEMBERNOTFOUND;
            // Queued, so that the screen reader's call returns at once and
            // the handler runs from the message loop as a click's does; the
            // core's door decides then whether the zone can be pressed (a
            // hidden window's cannot), as it does for a click.
            Win32Backend::instance().later([link = m_link, row] {
                if (link->form)
                    link->form->door().press(*link->form, row);
            });
            return S_OK;
        });
    }
    STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    Form *form() const { return m_link->form; }

    // A child id as a row: CHILDID_SELF this element, 1..n its children,
    // a negative one any row of the form (events name rows so).
    HRESULT resolve(const VARIANT &child, int &row) const
    {
        if (!form())
            return CO_E_OBJNOTCONNECTED;
        if (child.vt != VT_I4)
            return E_INVALIDARG;
        const LONG id = child.lVal;
        const std::optional<int> named = id == CHILDID_SELF ? m_row
                                         : id < 0 ? std::optional<int>(int(-(id + 1)))
                                                  : a::child(*form(), m_row, id - 1);
        if (!named || (id < 0 && !a::isExposed(*form(), *named)))
            return E_INVALIDARG;
        row = *named;
        return S_OK;
    }

    // What answer(row) says of the row the child id names, or why it names none.
    template <class Answer>
    HRESULT onRow(const VARIANT &child, Answer answer) const
    {
        int row;
        const HRESULT hr = resolve(child, row);
        return FAILED(hr) ? hr : answer(row);
    }

    template <class Read>
    HRESULT answer(const VARIANT &child, BSTR *out, Read read) const
    {
        *out = nullptr;
        return onRow(child, [&](int row) { return text(read(*form(), row), out); });
    }

    LONG m_refs = 1;
    std::shared_ptr<Link> m_link;
    int m_row;  // -1: the window
};

Msaa::Msaa(Form &form, HWND window, int scale, const std::vector<std::unique_ptr<Win32Control>> &controls)
    : m_link(std::make_shared<Link>(Link{&form, window, scale, {}})), m_controls(controls)
{
    m_link->elements.assign(form.description().controls.size() + 1, nullptr);
}

Msaa::~Msaa()
{
    m_link->form = nullptr;
}

bool Msaa::handle(UINT message, WPARAM wParam, LPARAM lParam, LRESULT &result)
{
    if (message == WM_GETOBJECT && LONG(lParam) == LONG(OBJID_CLIENT)) {
        Element *root = Element::of(m_link, -1);
        result = LresultFromObject(IID_IAccessible, wParam, root);
        root->Release();
        return true;
    }
    return false;
}

static void announce(HWND window, DWORD event, int row)
{
    if (IsWinEventHookInstalled(event))
        NotifyWinEvent(event, window, OBJID_CLIENT, row < 0 ? CHILDID_SELF : eventId(row));
}

void Msaa::changed(int row, Property property)
{
    // By a::Change; a description here says nothing (get_accDescription).
    static const DWORD Events[] = {EVENT_OBJECT_SHOW,        EVENT_OBJECT_HIDE,       EVENT_OBJECT_STATECHANGE,
                                   EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_NAMECHANGE, 0};
    for (const a::Announcement &told : a::announcements(*m_link->form, row, property))
        if (DWORD event = Events[int(told.change)])
            announce(m_link->window, event, told.row);
}

void Msaa::focused(int row)
{
    announce(m_link->window, EVENT_OBJECT_FOCUS, row);
}

void Msaa::windowShown(bool shown)
{
    announce(m_link->window, shown ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE, -1);
}

} // namespace runtime::win32
