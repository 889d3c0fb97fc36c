// Sliders of values that run through 0: the picture must read 0 as the middle. Rendered
// pixels: the fill (the highlight colour) is absent at 0 and grows from the centre towards the
// handle on the value's own side, by the same amount either way.
#include "widgets/SignedSlider.h"

#include <QApplication>
#include <QImage>
#include <QTest>

namespace {

struct Fill {
    int before = 0; // pixels on the low-value side of the centre (below, or left)
    int after = 0;  // on the high-value side
    int total() const { return before + after; }
};

QImage Render(QSlider &slider, int value)
{
    slider.setValue(value);
    QImage image(slider.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    slider.render(&image);
    return image;
}

Fill Count(QSlider &slider, int value)
{
    const QImage image = Render(slider, value);
    const QColor highlight = slider.palette().color(QPalette::Active, QPalette::Highlight);
    const bool horizontal = slider.orientation() == Qt::Horizontal;
    const int middle = (horizontal ? image.width() : image.height()) / 2;
    Fill fill;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != highlight)
                continue;
            // Vertical sliders put their high values at the top.
            const bool high = horizontal ? x >= middle : y < middle;
            (high ? fill.after : fill.before)++;
        }
    }
    return fill;
}

} // namespace

class SignedSliderTest : public QObject {
    Q_OBJECT

private slots:
    void zeroIsTheMiddle_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<int>("limit");
        QTest::newRow("vertical -99..99") << int(Qt::Vertical) << 99;
        QTest::newRow("horizontal -120..120") << int(Qt::Horizontal) << 120;
    }
    void zeroIsTheMiddle()
    {
        QFETCH(int, orientation);
        QFETCH(int, limit);
        SignedSlider slider(static_cast<Qt::Orientation>(orientation));
        slider.setRange(-limit, limit);
        slider.resize(orientation == Qt::Vertical ? QSize(30, 200) : QSize(200, 30));
        QVERIFY(slider.readsFromCentre());

        QCOMPARE(Count(slider, 0).total(), 0);
        const Fill up = Count(slider, limit / 2);
        const Fill down = Count(slider, -limit / 2);
        QVERIFY2(up.after > 20 && up.before == 0, qPrintable(QStringLiteral("%1 %2").arg(up.before).arg(up.after)));
        QVERIFY2(down.before > 20 && down.after == 0, qPrintable(QStringLiteral("%1 %2").arg(down.before).arg(down.after)));
        // As much fill for +v as for -v, give or take a pixel row.
        QVERIFY2(qAbs(up.after - down.before) <= up.after / 10 + 4,
                 qPrintable(QStringLiteral("%1 %2").arg(up.after).arg(down.before)));
        // At the ends the fill covers half the groove, not all of it.
        const Fill top = Count(slider, limit);
        QCOMPARE(top.before, 0);
        QVERIFY(top.after > up.after);
        // The value itself is untouched by the drawing.
        QCOMPARE(slider.value(), limit);
    }

    void unsignedRangesPaintAsAnyOtherSlider()
    {
        SignedSlider signedSlider(Qt::Vertical);
        QSlider plain(Qt::Vertical);
        for (QSlider *slider : {static_cast<QSlider *>(&signedSlider), &plain}) {
            slider->setRange(0, 99);
            slider->resize(30, 200);
        }
        QVERIFY(!signedSlider.readsFromCentre());
        for (int value : {0, 40, 99})
            QCOMPARE(Render(signedSlider, value), Render(plain, value));
    }
};

QTEST_MAIN(SignedSliderTest)
#include "SignedSliderTest.moc"
