/* The dashboard's click zones and console lamps as a screen reader meets
 * them, by control: one table for every platform's accessibility test,
 * read by tst_accessibility (AT-SPI through Qt) and by msaaclient (MSAA
 * under Wine). Plain C, so that both can include it. */
#ifndef VELK_ACCESSIBLENAMES_H
#define VELK_ACCESSIBLENAMES_H

struct NamedZone
{
    const char *zone, *name;
};

/* The zones that are no lamp's. */
static const struct NamedZone NamedZones[] = {
    {"Label1", "Power"},
    {"Label3", "Normal"},
    {"Label4", "Auto"},
    {"Label5", "Pursuit"},
    {"Label9", "Voice box"},
    {"Label8", "Voice box, left panel buttons"},
    {"Label2", "Exit"},
};

struct LampZone
{
    const char *zone, *name, *lamp, *lampName;
};

static const struct LampZone LampZones[] = {
    {"Label12", "Left console lamp 1, left button", "Picture6", "Left console lamp 1"},
    {"Label13", "Left console lamp 1, right button", "Picture6", "Left console lamp 1"},
    {"Label14", "Left console lamp 2, left button", "Picture7", "Left console lamp 2"},
    {"Label15", "Left console lamp 2, right button", "Picture7", "Left console lamp 2"},
    {"Label16", "Left console lamp 3, left button", "Picture8", "Left console lamp 3"},
    {"Label17", "Left console lamp 3, right button", "Picture8", "Left console lamp 3"},
    {"Label18", "Left console lamp 4, left button", "Picture9", "Left console lamp 4"},
    {"Label19", "Left console lamp 4, right button", "Picture9", "Left console lamp 4"},
    {"Label20", "Left console lamp 5, left button", "Picture10", "Left console lamp 5"},
    {"Label21", "Left console lamp 5, right button", "Picture10", "Left console lamp 5"},
    {"Label22", "Left console lamp 6, left button", "Picture11", "Left console lamp 6"},
    {"Label23", "Left console lamp 6, right button", "Picture11", "Left console lamp 6"},
    {"Label24", "Left console lamp 7, left button", "Picture13", "Left console lamp 7"},
    {"Label26", "Left console lamp 7, right button", "Picture13", "Left console lamp 7"},
    {"Label25", "Left console lamp 8, left button", "Picture14", "Left console lamp 8"},
    {"Label27", "Left console lamp 8, right button", "Picture14", "Left console lamp 8"},
    {"Label45", "Right console lamp 1, left button", "Picture21", "Right console lamp 1"},
    {"Label44", "Right console lamp 1, right button", "Picture21", "Right console lamp 1"},
    {"Label43", "Right console lamp 2, left button", "Picture20", "Right console lamp 2"},
    {"Label42", "Right console lamp 2, right button", "Picture20", "Right console lamp 2"},
    {"Label41", "Right console lamp 3, left button", "Picture19", "Right console lamp 3"},
    {"Label40", "Right console lamp 3, right button", "Picture19", "Right console lamp 3"},
    {"Label39", "Right console lamp 4, left button", "Picture18", "Right console lamp 4"},
    {"Label38", "Right console lamp 4, right button", "Picture18", "Right console lamp 4"},
    {"Label37", "Right console lamp 5, left button", "Picture17", "Right console lamp 5"},
    {"Label36", "Right console lamp 5, right button", "Picture17", "Right console lamp 5"},
    {"Label35", "Right console lamp 6, left button", "Picture16", "Right console lamp 6"},
    {"Label34", "Right console lamp 6, right button", "Picture16", "Right console lamp 6"},
    {"Label33", "Right console lamp 7, left button", "Picture15", "Right console lamp 7"},
    {"Label31", "Right console lamp 7, right button", "Picture15", "Right console lamp 7"},
    {"Label32", "Right console lamp 8, left button", "Picture12", "Right console lamp 8"},
    {"Label30", "Right console lamp 8, right button", "Picture12", "Right console lamp 8"},
};

#endif
