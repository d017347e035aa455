// The page's half of the web backend (page.js), as the C++ half calls it:
// windows and controls by number, strings as UTF-8. The calls the page
// makes back are the velk_* functions of webbackend.cpp.
#pragma once

extern "C" {
void velk_window(int win, const char *caption, const char *icon, int width, int height, int framed, int back,
                 const char *name);
void velk_control(int win, int row, int parent, const char *kind, int x, int y, int width, int height,
                  const char *text, const char *picture, int back, int fore, const char *font, int fontPixels,
                  int weight, int align, int border, int flags, int z, int tab);
void velk_order(int win, int row);
void velk_set_text(int win, int row, const char *text);
// mode: 0 not shown, 1 shown, 2 not shown but there for a screen reader.
void velk_set_shown(int win, int row, int mode);
// What a screen reader hears of the row, in the page's words: an ARIA
// role (empty: the element's own), a name and a description (empty:
// none), and whether it is to be found at all.
void velk_tell(int win, int row, const char *role, const char *name, const char *description, int hidden);
void velk_show(int win, int shown, int focusRow);
// The keyboard's focus on the row (-1: none), and the ring round it at
// (x, y) in its container's client area (parent: that container's row,
// -1 the window's), width 0 for none: a line of each colour, outer first.
void velk_focus(int win, int row, int parent, int x, int y, int width, int height, int outer, int inner);
void velk_timer(int win, int row, int ms);
void velk_drop_window(int win);
void velk_post(int id, int ms);
void velk_cancel(int id);
void velk_fetch(int id, const char *address, double maxBytes);
void velk_run(int id);  // the page's call back, in webbackend.cpp
// slot: where the page keeps the frame converted (-1: nowhere), which
// stays that frame's until velk_forget_frames.
void velk_paint(int win, int row, const void *pixels, int width, int height, int x, int y, int slot,
                const char *note, int noteX, int noteY, int noteWidth, int noteHeight);
void velk_forget_frames(int win, int row);
char *velk_query(const char *name);  // malloc'ed, or null when the address has no such parameter
void velk_report(const char *line);
void velk_end();
}
