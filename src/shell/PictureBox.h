#pragma once

#include <QLabel>

namespace vorn {

// A picture in a sunken panel that takes part in keyboard navigation. A focus frame inside the panel
// shows when it has the keyboard focus, as the style draws one for any other control, so that a Tab
// onto it is seen.
class PictureBox : public QLabel {
    Q_OBJECT

public:
    PictureBox(const QPixmap& picture, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace vorn
