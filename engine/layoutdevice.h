#pragma once
// A paint device that only answers metric questions, so that a text layout can
// be made at any resolution (zoom on screen, a fixed resolution for pages)
// independently of where it is finally painted.

#include <QPaintDevice>

namespace engine {

class LayoutDevice : public QPaintDevice {
public:
    explicit LayoutDevice(int dotsPerInch);

    int dotsPerInch() const { return m_dotsPerInch; }
    // The resolution in which Qt's text layout reads lengths given in document
    // formats (margins, indents, picture sizes): the primary screen's.
    static int formatDotsPerInch();
    // Never painted on: layouts made for it are drawn on other devices.
    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    int m_dotsPerInch;
};

} // namespace engine
