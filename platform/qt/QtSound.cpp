// Wave files through Qt Multimedia. Playing is asynchronous; a machine without an audio device
// gives an effect that never plays, which is the silence wanted there.
#include <QtCore/QUrl>
#include <QtMultimedia/QSoundEffect>
#include "platform/qt/QtInternal.h"

BOOL TbQtPlayWave(LPCSTR pszPath, BOOL bLoop)
{
    static QSoundEffect* s_pEffect = nullptr;
    if (!pszPath || !*pszPath) {
        if (s_pEffect)
            s_pEffect->stop();
        return TRUE;
    }
    if (!s_pEffect)
        s_pEffect = new QSoundEffect;
    s_pEffect->stop();
    s_pEffect->setSource(QUrl::fromLocalFile(QString::fromUtf8(pszPath)));
    s_pEffect->setLoopCount(bLoop ? QSoundEffect::Infinite : 1);
    s_pEffect->play();
    return TRUE;
}
