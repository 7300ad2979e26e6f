// Turns a layout number designed for 96 DPI into pixels for the window's monitor.
#pragma once

class DpiHelper {
public:
    virtual int Scale(int value) = 0;

protected:
    ~DpiHelper() = default;
};
