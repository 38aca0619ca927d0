#pragma once
// One module's record in the ring table: what its last reply said.
#include <cstdint>

class ModuleData
{
public:
    void SetVersion(uint8_t Version);
    uint8_t GetVersion() const { return mVersion; }
    void SetModuleID(int16_t ModulID) { mModulID = ModulID; }
    int16_t GetModuleID() const { return mModulID; }
    void SetErrorCounterChannel1(int16_t ErrorCounter) { mErrorCounter1 = ErrorCounter; }
    int16_t GetErrorCounterChannel1() const { return mErrorCounter1; }
    void SetStatusChannel1(bool Status) { mStatus1 = Status; }
    bool GetStatusChannel1() const { return mStatus1; }
    void SetErrorCounterChannel2(int16_t ErrorCounter) { mErrorCounter2 = ErrorCounter; }
    int16_t GetErrorCounterChannel2() const { return mErrorCounter2; }
    void SetStatusChannel2(bool Status) { mStatus2 = Status; }
    bool GetStatusChannel2() const { return mStatus2; }
    void SetMode(uint8_t Mode) { mMode = Mode; }
    uint8_t GetMode() const { return mMode; }
    void SetTimeStamp(float Time) { mTimeStamp = Time; }
    float GetTimeStamp() const { return mTimeStamp; }
    void SetSide(uint8_t Side) { mSide = Side; }
    uint8_t GetSide() const { return mSide; }

private:
    float mTimeStamp = 0;
    int16_t mModulID = 0;
    int16_t mErrorCounter1 = 0;
    int16_t mErrorCounter2 = 0;
    uint8_t mVersion = 0;
    uint8_t mMode = 0;
    uint8_t mSide = 0;
    bool mStatus1 = false;
    bool mStatus2 = false;
};
