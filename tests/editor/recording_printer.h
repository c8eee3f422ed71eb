// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A paint device that says it is a printer and records what is painted on
// it: every text run and line with its position in device pixels, after the
// painter's window, viewport and world mapping.  The code under test paints
// through a real QPainter; only the pixels are left out.

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QTextItem>
#include <QTransform>
#include <vector>

namespace qzm::test {

struct RecordedText {
    QString text;
    QPointF at;  // baseline start, device pixels
    QFont font;
};

class RecordingEngine final : public QPaintEngine {
  public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& changed) override {
        if (changed.state() & QPaintEngine::DirtyTransform) {
            transform_ = changed.transform();
        }
    }
    void drawTextItem(const QPointF& at, const QTextItem& item) override {
        texts.push_back({item.text(), transform_.map(at), item.font()});
    }
    void drawLines(const QLineF* drawn, int count) override {
        for (int i = 0; i < count; ++i) {
            lines.push_back(transform_.map(drawn[i]));
        }
    }
    void drawLines(const QLine* drawn, int count) override {
        for (int i = 0; i < count; ++i) {
            lines.push_back(transform_.map(QLineF(drawn[i])));
        }
    }
    void drawRects(const QRectF*, int) override {}
    void drawRects(const QRect*, int) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPolygon(const QPoint*, int, PolygonDrawMode) override {}
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
    }
    Type type() const override { return QPaintEngine::User; }

    std::vector<RecordedText> texts;
    std::vector<QLineF> lines;

  private:
    QTransform transform_;
};

// An A4 page at 600 dots per inch, printable edge to edge.
class RecordingPrinter final : public QPaintDevice {
  public:
    static constexpr int kWidth = 4960;
    static constexpr int kHeight = 7016;
    static constexpr int kDpi = 600;

    int devType() const override { return QInternal::Printer; }
    QPaintEngine* paintEngine() const override { return &engine; }

    mutable RecordingEngine engine;

  protected:
    int metric(PaintDeviceMetric which) const override {
        switch (which) {
            case PdmWidth:
                return kWidth;
            case PdmHeight:
                return kHeight;
            case PdmWidthMM:
                return 210;
            case PdmHeightMM:
                return 297;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return kDpi;
            case PdmDepth:
                return 32;
            case PdmNumColors:
                return INT_MAX;
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
            default:
                return QPaintDevice::metric(which);
        }
    }
};

}  // namespace qzm::test
