#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace vorn {

// One character's progression: Build and Loose XP are stored, everything else is derived on every read.
// A copyable value type; the calculator applies each change to a copy and keeps it only when the copy's
// results can all be counted.
class BuildUtils {
public:
    // Shows a message to the user and returns when it has been dismissed.
    using MessageSink = std::function<void(const std::string&)>;
    // Item data of the selected class entry; throws when nothing is selected.
    using ClassCodeSource = std::function<int32_t()>;

    explicit BuildUtils(MessageSink say = {}, ClassCodeSource classCode = {});

    int32_t build() const { return m_build; }
    void setBuild(int32_t vData) { m_build = vData; }
    int32_t looseXP() const { return m_looseXP; }
    void setLooseXP(int32_t vData) { m_looseXP = vData; }

    int32_t level() const;
    int32_t xpBPRatio() const;
    int32_t TotalXP() const;
    int16_t body() const;

    static int32_t getXPBPRatio(int32_t level);
    static int32_t getTotalXP(int32_t build, int32_t looseXP);
    static int32_t getBody(int16_t charClass, int32_t charLevel);
    static int32_t getLevel(int32_t build);

    void addMaxOutBuild(int16_t eventLength);
    void addBuild(int16_t eventLength, double trainingCoin);
    int32_t getXPForEvent(int16_t eventLength, double trainingCoin) const;
    int32_t getNextEventXP(int16_t eventLength, bool maxOut) const;
    int32_t getNextEventBuild(int16_t eventLength, bool maxOut) const;
    int32_t getTotalBlankets() const;

    // The same final state as `count` calls of addBuild(2, 0) one after another, applied in runs of
    // equal awards. Throws OverflowError exactly where the one-at-a-time calls would, and then leaves
    // this object unchanged. A count of 0 or less does nothing.
    void addBlankets(int32_t count);

    // The lowest Build whose Total XP can't be counted, even with no Loose XP.
    static constexpr int32_t kFirstUncountableBuild = 10867;
    // A count of blankets after which this character surely stands at `build` or beyond, or has failed
    // on the way: cheap to work out and never below the true count, so a caller can refuse at once what
    // that many blankets would end in. -1 below Build 15, where no bound is worked out.
    int64_t blanketsSurelyReaching(int32_t build) const;

private:
    // A new character that shows its messages and reads its class the same way as this one.
    BuildUtils scratch() const;

    MessageSink m_say;
    ClassCodeSource m_classCode;
    int32_t m_build = 30;
    int32_t m_looseXP = 0;
};

} // namespace vorn
