#pragma once
// "Bus Info": the ring of modules found by the last scan, and the click that locates one.
#include <QWidget>
#include <functional>

class frmModuleState;

class frmBackground : public QWidget
{
    Q_OBJECT

public:
    explicit frmBackground(QWidget *parent = nullptr);

    // How the click finds the Module State window (loading it when it is not).
    void SetModuleStateProvider(std::function<frmModuleState *()> provider) { mModuleState = std::move(provider); }

    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    void Form_Unload();
    void DrawModules();

private:
    std::function<frmModuleState *()> mModuleState;
};
