#pragma once

#include <array>

// The editor's tools. A tool's value is the index of its button and of its up and down pictures in the tool
// icon image, so the order is fixed: the eight painting tools, then the select tool.
enum class Tool {
    Plot = 0,
    Erase = 1,
    Line = 2,
    Rectangle = 3,
    FilledRectangle = 4,
    Ellipse = 5,
    FilledEllipse = 6,
    Fill = 7,
    Select = 8,
};

inline constexpr int kToolCount = 9;

// The tool of button index, which must be 0 .. kToolCount - 1.
constexpr Tool ToolAt(int index) {
    return static_cast<Tool>(index);
}

// The index of the tool's button.
constexpr int ToolIndex(Tool tool) {
    return static_cast<int>(tool);
}

// Plot and erase write while the mouse is dragged; the other painting tools write on release.
constexpr bool WritesWhileDragged(Tool tool) {
    return tool == Tool::Plot || tool == Tool::Erase;
}

// The tool to take when a tile is picked in the palette: erase and select would not paint the tile, so the
// last painting tool comes back (plot when that was erase or select too).
constexpr Tool ToolForPickedTile(Tool current, Tool last, bool tilePicked) {
    const bool leave = current == Tool::Erase || (tilePicked && current == Tool::Select);
    if (!leave)
        return current;
    return last == Tool::Select || last == Tool::Erase ? Tool::Plot : last;
}
