#pragma once

#include "ui/common/Twips.h"
#include "ui/common/TwipsLayout.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <span>
#include <vector>

namespace quilloa::test {

// Holds a window against its placement table and against rules every sound layout keeps. Each
// check returns what it found wrong, one line per fault, so a failure names the control.
class LayoutCheck
{
public:
    // Every control the table names is on the window, at the place the table gives it; a
    // self-sizing label at its corner, wide and tall enough to show its text.
    static QStringList againstTable(const QWidget* window, std::span<const TwipsPlacement> table)
    {
        QStringList faults;
        for (const TwipsPlacement& place : table) {
            const QString name = QString::fromUtf16(place.objectName);
            const QWidget* control = window->findChild<QWidget*>(name);
            if (!control) {
                faults << name + QStringLiteral(" missing");
                continue;
            }
            const QRect expected = twipsRect(place.left, place.top, place.width, place.height);
            const bool selfSizing = place.width == 0 && place.height == 0;
            if (selfSizing ? control->pos() != expected.topLeft() || control->width() <= 0
                           : control->geometry() != expected)
                faults << name + QStringLiteral(" stands at ") + describe(control->geometry());
        }
        return faults;
    }

    // No two of the table's controls that share a container overlap, and none reaches past
    // its container's edge, where the user could not see or click it.
    static QStringList overlapsAndOverhangs(const QWidget* window,
                                            std::span<const TwipsPlacement> table)
    {
        QList<const QWidget*> controls;
        for (const TwipsPlacement& place : table)
            if (const auto* control =
                    window->findChild<QWidget*>(QString::fromUtf16(place.objectName)))
                controls << control;
        QStringList faults;
        for (int i = 0; i < controls.size(); ++i) {
            const QWidget* control = controls[i];
            if (!control->parentWidget()->rect().contains(control->geometry()))
                faults << control->objectName() + QStringLiteral(" reaches outside ") +
                              control->parentWidget()->objectName();
            for (int j = i + 1; j < controls.size(); ++j) {
                const QWidget* other = controls[j];
                if (other->parentWidget() == control->parentWidget() &&
                    other->geometry().intersects(control->geometry()))
                    faults << control->objectName() + QStringLiteral(" overlaps ") +
                                  other->objectName();
            }
        }
        return faults;
    }

    // Both checks at once, for a window whose table is one list.
    static QStringList all(const QWidget* window, std::span<const TwipsPlacement> table)
    {
        return againstTable(window, table) + overlapsAndOverhangs(window, table);
    }

    // Several tables of one window as one, so that their controls are checked against each other.
    static std::vector<TwipsPlacement> join(std::span<const TwipsPlacement> first,
                                            std::span<const TwipsPlacement> second)
    {
        std::vector<TwipsPlacement> joined(first.begin(), first.end());
        joined.insert(joined.end(), second.begin(), second.end());
        return joined;
    }

private:
    static QString describe(const QRect& r)
    {
        return QStringLiteral("%1,%2 %3×%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
    }
};

} // namespace quilloa::test
