// SPDX-License-Identifier: GPL-3.0-or-later
// Every caption of the editor form fits its control in both shipped
// languages: a cut caption hides what a setting is.

#include <QAbstractButton>
#include <QLabel>
#include <QStyle>
#include <string>

#include "editor_fixture.h"

namespace qzm {
namespace {

using test::EditorTest;

// The room a caption has: a label's contents, a check box's width past its indicator.
int roomFor(const QWidget& widget) {
    if (const auto* box = qobject_cast<const QAbstractButton*>(&widget)) {
        const int indicator =
            box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) +
            box->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box);
        return box->width() - indicator;
    }
    return widget.contentsRect().width();
}

TEST_F(EditorTest, NoCaptionOfTheFormIsCutInEitherLanguage) {
    for (const char* language : {"english.lang", "chinese.lang"}) {
        setLanguagePath(dir / language);
        initialUpdate();
        showView();
        for (QWidget* widget : view->findChildren<QWidget*>()) {
            QString caption;
            if (const auto* label = qobject_cast<QLabel*>(widget)) {
                if (label->wordWrap()) {
                    continue;
                }
                caption = label->text();
            } else if (const auto* box = qobject_cast<QAbstractButton*>(widget)) {
                caption = box->text();
            }
            if (caption.isEmpty() || !widget->isVisibleTo(view.get())) {
                continue;
            }
            caption.remove(u'&');
            const int needed = widget->fontMetrics().horizontalAdvance(caption);
            EXPECT_LE(needed, roomFor(*widget)) << language << ": \"" << caption.toStdString()
                                                << "\" in " << widget->metaObject()->className();
        }
    }
}

}  // namespace
}  // namespace qzm
