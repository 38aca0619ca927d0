#pragma once
// "Bus Info": the ring of modules found by the last scan, and the click that locates one.
#include "model/Twips.h"
#include "ringview/RingCanvas.h"

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <vector>

class ModuleData;
class ModulePicture;
class RingCore;
class QFrame;
class QLabel;
class frmModuleState;

class frmBackground : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kLocateLimitMs = 2000;
    // How long one pass of the locate wait may sleep when nothing happens.
    static constexpr int kLocateYieldMs = 1;
    static constexpr int kSpinnerPasses = 400;

    // keptSize: where the window's size in twips is kept across its loads.
    frmBackground(RingCore &core, TwipsSize &keptSize, QWidget *parent = nullptr);

    // How the click finds the Module State window (loading it when it is not).
    void SetModuleStateProvider(std::function<frmModuleState *()> provider) { mModuleState = std::move(provider); }

    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    void Form_Unload();
    void DrawModules();
    void picModule_Click(int index);
    // Draws the ring again when a side sort moved modules that the pictures show, or left
    // counted modules undrawn, so that each picture is the module a click on it locates.
    void RedrawIfOrderChanged(bool sorted);

    // Frames the picture of module id (-1: none) without sending anything or redrawing the ring.
    void MarkModule(int id);
    int MarkedModule() const { return mMarkedID; }
    QFrame *MarkFrame() const { return mMarkFrame; }

    // The picture of a ring position, or null when it does not exist.
    ModulePicture *picModule(int index) const;
    int PictureCount() const { return int(mPictures.size()); }
    QLabel *lblPC = nullptr;
    int SelectedIndex() const { return mSelectedIndex; }
    const QImage &Drawing() const { return mCanvas.Image(); }

signals:
    // A click on the picture of module id has begun its locate.
    void moduleClicked(int id);
    // A locate of module id got no answer in time.
    void locateUnanswered(int id);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    ModulePicture *CreatePicture(int index);
    void DrawLink(int from, int to, const QColor &colour);
    void ShowImage(int index, bool selected);
    void PlaceMark();
    double InnerWidth() const;
    double InnerHeight() const;
    double PictureWidth() const;
    double PictureHeight() const;
    QWidget *SizedWindow();
    const ModuleData &RecordAt(int position) const;
    // The ring position of module id now: the clicked one while it still holds id, else the
    // first that does; -1 when the module is no longer on the ring.
    int PositionOf(int id, int clicked) const;

    RingCore &mCore;
    TwipsSize &mSize;
    RingCanvas mCanvas;
    std::vector<QPointer<ModulePicture>> mPictures;
    std::vector<int16_t> mDrawnOrder;  // the module IDs the last drawing pass placed
    int16_t mSelectedIndex = 0;
    int mMarkedID = -1;
    QFrame *mMarkFrame = nullptr;
    std::function<frmModuleState *()> mModuleState;
};
