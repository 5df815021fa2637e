#pragma once

#include "app/AppContext.h"

#include <QDateTime>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimeZone>
#include <QUrl>

// An application context around a temporary folder that records what the
// window shows and opens, with short timer intervals and no start-up pause.
// The outside hosts point at a loopback port where nothing listens.
class TestContext
{
public:
    TestContext();

    QString dir() const { return m_dir.path(); }
    AppContext make();

    QStringList messages;
    QList<QUrl> openedUrls;
    int quitRequests = 0;
    QDateTime now = QDateTime(QDate(2026, 12, 9), QTime(23, 30), QTimeZone::utc());
    bool internetPresent = true;
    // The browser starts only in the tests that look at the calendar: they
    // set this, or open the calendar window themselves.
    bool calendarAtStart = false;
    SessionTimings timings;
    RigBackend rig; // both rigs on a refusing port unless a test says otherwise

private:
    QTemporaryDir m_dir;
};
