// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <utility>

// The closed days in the text of a holiday announcement (the exchanges' or the State Council's)
// as the trader pastes it.
struct AnnouncedDays {
    QList<QDate> weekdays;    // closed, in date order, each once
    bool yearMissing = false; // closed dates without a year, and none given: ask, then parse again
    // Closed dates and ranges that name no days: the text as written and why not, in Chinese.
    QList<std::pair<QString, QString>> unread;
    bool anyDate = false;       // something in the text reads as a date, used or not
    bool anyClosedDate = false; // a date or range with 休市 or 放假 after it, used or not
};

// Every date, date range ("1月1日（星期五）至1月3日（星期日）", "2月5日—12日", "2024-10-01~2024-10-07")
// or list of them ("2月4日、2月18日") followed, in the same clause, by 休市 or 放假. Full-width
// digits and punctuation read as ASCII ones. A date without a year takes the last year the text
// named before it ("关于2024年……的通知"), else the year given here. A range from December to
// January without years ("12月30日至1月1日") ends in that year. A day that does not exist
// ("2月30日"), a range that ends before it starts and one of more than 31 days (a misreading)
// are left out and named in unread.
AnnouncedDays parseAnnouncement(const QString& text, int year = 0);
