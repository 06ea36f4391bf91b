#include "ui/main/QtSoundPlayer.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include "ui/widgets/SkinPicture.h"

namespace oplix::ui {
namespace {

std::size_t IndexOf(Sound sound) {
    return sound == Sound::TimeUp ? 0 : 1;
}

}  // namespace

QtSoundPlayer::QtSoundPlayer(QObject* parent) : QObject(parent) {}

void QtSoundPlayer::Load() {
    if (loaded_) {
        return;
    }
    loaded_ = true;
    hasOutput_ = !QMediaDevices::audioOutputs().isEmpty();
    if (hasOutput_) {
        // Loaded now, so that the first warning plays on time.
        EffectFor(Sound::LastMinutes);
        EffectFor(Sound::TimeUp);
    }
}

QSoundEffect* QtSoundPlayer::EffectFor(Sound sound) {
    QSoundEffect*& effect = effects_[IndexOf(sound)];
    if (effect == nullptr) {
        const std::string_view name = SoundResourceName(sound);
        const QString path = SoundResourcePath(
            QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
        if (path.isEmpty()) {
            return nullptr;
        }
        effect = new QSoundEffect(this);
        effect->setSource(QUrl(QStringLiteral("qrc") + path));
    }
    return effect;
}

void QtSoundPlayer::Play(Sound sound) {
    Load();
    if (!hasOutput_) {
        return;
    }
    QSoundEffect* effect = EffectFor(sound);
    if (effect == nullptr) {
        return;
    }
    for (QSoundEffect* other : effects_) {
        if (other != nullptr && other != effect) {
            other->stop();
        }
    }
    effect->stop();
    effect->play();
}

}  // namespace oplix::ui
