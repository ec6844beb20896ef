// browser/layout.h - where the main window's controls stand for a given client size.
// Portable: no platform header.
#ifndef RUVEX_BROWSER_LAYOUT_H
#define RUVEX_BROWSER_LAYOUT_H

struct ControlPlace {
    int id;
    int x, y, width, height;
};

struct MainLayout {
    ControlPlace place[6];  // in the order the controls are moved
};

// Pixels for a client area of width x height. Too small an area gives negative sizes,
// passed on as they are; the next resize lays the controls out again.
MainLayout ComputeMainLayout(int width, int height);

#endif
