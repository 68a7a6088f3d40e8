// A widget that writes every callback it receives into a shared log, for the widget-tree tests.
#pragma once

#include "framework/graphics/Graphics.h"
#include "framework/widgets/Widget.h"
#include "framework/widgets/WidgetManager.h"

#include <string>
#include <vector>

namespace ZestraTest
{

using Log = std::vector<std::string>;

class ProbeWidget : public Zestra::Widget
{
public:
    ProbeWidget(std::string name, Log* log, int x = 0, int y = 0, int w = 0, int h = 0)
        : mName(std::move(name)), mLog(log)
    {
        mX = x;
        mY = y;
        mWidth = w;
        mHeight = h;
    }

    void Tick() override
    {
        Widget::Tick();
        Note("tick");
    }
    void Paint(Zestra::Graphics&) override { Note("paint"); }
    void PaintOverlay(Zestra::Graphics&) override { Note("overlay"); }
    void FocusGained() override
    {
        Widget::FocusGained();
        Note("focus");
    }
    void FocusLost() override
    {
        Widget::FocusLost();
        Note("blur");
    }
    void OnKeyDown(int key) override
    {
        Widget::OnKeyDown(key);
        Note("key " + std::to_string(key));
    }
    void OnMouseEnter() override { Note("enter"); }
    void OnMouseLeave() override { Note("leave"); }
    void OnMouseDown(int x, int y, int button, int count) override
    {
        Note("down " + std::to_string(x) + "," + std::to_string(y) + " b" + std::to_string(button) + " c" +
             std::to_string(count));
    }
    using Widget::OnMouseDown;
    void OnMouseUp(int x, int y, int button, int count) override
    {
        Note("up " + std::to_string(x) + "," + std::to_string(y) + " b" + std::to_string(button));
    }
    using Widget::OnMouseUp;
    void OnMouseDrag(int x, int y) override { Note("drag " + std::to_string(x) + "," + std::to_string(y)); }

    void Note(const std::string& what)
    {
        if (mLog != nullptr)
            mLog->push_back(mName + " " + what);
    }

    std::string mName;
    Log* mLog;
};

} // namespace ZestraTest
