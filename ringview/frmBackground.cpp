#include "ringview/frmBackground.h"

#include "model/Global.h"

frmBackground::frmBackground(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmBackground"));
    setWindowTitle(QStringLiteral("Bus Info"));
    Form_Load();
}

void frmBackground::Form_Load() {}
void frmBackground::Form_Activate() { DrawModules(); }
void frmBackground::Form_Resize() { DrawModules(); }
void frmBackground::Form_Unload() {}
void frmBackground::DrawModules() {}
