#pragma once
// What a scan asks of the windows once its wait is over.
class ScanView
{
public:
    virtual ~ScanView() = default;
    // "No Modules found!" with the stop icon, title "Error".
    virtual void ShowNoModulesFound() = 0;
    // Hide and show "Bus Info", whose activation draws the ring from the new order.
    virtual void RedrawRing() = 0;
    // The two-line warning about a module of an older firmware generation.
    virtual void ShowForeignModuleWarning() = 0;
    // Both dialogs' "&Apply" buttons.
    virtual void EnableApplyButtons() = 0;
};
