#pragma once

#include <QLabel>

// The maker's logo in the About box: a latch, drawn rather than shipped, so that it is sharp at
// any pixel ratio with nothing to load.
class MakerLogo : public QLabel {
    Q_OBJECT

public:
    explicit MakerLogo(QWidget* parent = nullptr);
};
