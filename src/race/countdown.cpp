// SPDX-FileCopyrightText: 2026 The Tavolnik developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "race/countdown.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "prefs/key_bindings.h"
#include "race/modern_marks.h"
#include "race/race_state.h"
#include "screens/form_main.h"

QString CountdownText(int step)
{
    static const char* const shown[CountdownSteps] = {"3", "2", "1", "GO"};
    return step >= 0 && step < CountdownSteps ? QString::fromLatin1(shown[step]) : QString();
}

void form_Main::StartCountdown()
{
    CountStep = 0;
    timer_Count->setInterval(CountdownStepMs);
    timer_Count->setEnabled(true);
    roadLayer->pictureChanged(RoadOnScreen(*this));
}

bool form_Main::CountingDown() const { return timer_Count && timer_Count->Enabled(); }

void form_Main::timer_Count_Timer()
{
    if (CountStep + 1 < CountdownSteps) {
        ++CountStep;
        roadLayer->pictureChanged(RoadOnScreen(*this));
    } else {
        SkipCountdown();
    }
}

void form_Main::SkipCountdown()
{
    if (!CountingDown()) return;
    timer_Count->setEnabled(false);
    CountStep = CountdownSteps;
    roadLayer->pictureChanged(RoadOnScreen(*this));
    StartRaceClock();
}

namespace {
// A text in the game's bold face, `points` high, centred on `centre`: filled, with a dark outline
// that keeps it readable on the road and the cars alike.
void OutlinedText(QPainter& painter, const QString& text, double points, QPointF centre, const QColor& fill)
{
    QFont font = GameFont(points);
    font.setBold(true);
    QPainterPath path;
    path.addText(0, 0, font, text);
    path.translate(centre - path.boundingRect().center());
    // The outline first, the fill over its inner half.
    painter.strokePath(path, QPen(QColor(20, 20, 20), points / 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.fillPath(path, fill);
}
} // namespace

void PaintCountdown(const form_Main& race, QPainter& painter)
{
    if (!race.CountingDown()) return;
    const QString shown = CountdownText(race.CountStep);
    const QRectF road = RoadOnScreen(race);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // A soft dark disc behind the number, so it reads over any road.
    const QPointF centre(road.center().x(), road.center().y() - 10);
    QRadialGradient dark(centre, 90);
    dark.setColorAt(0, QColor(0, 0, 0, 140));
    dark.setColorAt(0.7, QColor(0, 0, 0, 90));
    dark.setColorAt(1, QColor(0, 0, 0, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(dark);
    painter.drawEllipse(centre, 90, 90);
    const bool go = race.CountStep + 1 >= CountdownSteps;
    OutlinedText(painter, shown, go ? 60 : 72, centre, go ? QColor(2, 255, 97) : QColor(255, 255, 0));
    const QString skip = QCoreApplication::translate("Countdown", "%1 ですぐスタート")
                             .arg(KeyName(KeyOf(GameAction::Accelerate)));
    OutlinedText(painter, skip, 14, QPointF(centre.x(), centre.y() + 70), Qt::white);
    painter.restore();
}
