// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QList>
#include <QString>

// The closed days in the text of a holiday announcement (the exchanges' or the State Council's)
// as the trader pastes it.
struct AnnouncedDays {
    QList<QDate> weekdays;    // closed, in date order, each once
    bool yearMissing = false; // closed dates without a year, and none given: ask, then parse again
};

// Every date, date range ("1月1日（星期五）至1月3日（星期日）", "2月5日—12日", "2024-10-01~2024-10-07")
// or list of them ("2月4日、2月18日") followed, in the same clause, by 休市 or 放假. Full-width
// digits and punctuation read as ASCII ones. A date without a year takes the last year the text
// named before it ("关于2024年……的通知"), else the year given here. A range running over the new
// year without years ("12月30日至1月1日") ends in that year; ranges of more than 31 days are
// taken for a misreading and left out.
AnnouncedDays parseAnnouncement(const QString& text, int year = 0);
