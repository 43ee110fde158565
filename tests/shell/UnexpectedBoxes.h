#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>

// A real modal box would stop a test until someone closes it. While this lives, any such box is closed
// at once and counted, so that the test fails on the count instead of hanging.
class UnexpectedBoxes {
public:
    UnexpectedBoxes()
    {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                ++m_closed;
                box->close();
            }
        });
        m_timer.start(50);
    }

    int closed() const { return m_closed; }

private:
    QTimer m_timer;
    int m_closed = 0;
};
