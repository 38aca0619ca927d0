#pragma once
// One module on the ring: a borderless, focusable 20 x 27 picture showing one of the eight
// module images, which reports a click with its ring position and tells on hover what the
// table knows of its module.
#include <QWidget>

class RingTable;

class ModulePicture : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int index READ Index CONSTANT)
    Q_PROPERTY(int image READ Image)

public:
    ModulePicture(int index, const RingTable &table, QWidget *parent);

    int Index() const { return mIndex; }
    int Image() const { return mImage; }
    // Shows image 1 to 8 and describes it for assistive technology as module moduleID.
    void SetImage(int image, int moduleID);
    // Tooltip and accessible description afresh from the module's record.
    void RefreshDetails();

    // A press that reached this picture's predecessor after it was taken down counts here:
    // the release, which would find no pressed widget, is grabbed.
    void TakePress();

    QSize sizeHint() const override;

signals:
    void clicked(int index);
    // The picture was pressed after it was hidden to be replaced (its window's activation
    // redraws the ring between focusing and delivering the press).
    void pressedWhileReplaced(int index);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    int mIndex;
    const RingTable &mTable;
    int mImage = 1;
    int mModuleID = 0;
    bool mPressed = false;
};
