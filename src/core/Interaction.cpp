#include "core/Interaction.h"

namespace ui {

void Interaction::endProgram() {
    if (!m_ended) {
        m_ended = true;
        if (m_onEnd)
            m_onEnd();
        leaveEventLoops();
    }
    throw FineProgramma();
}

void Interaction::fermaSeTerminato() const {
    if (m_ended)
        throw FineProgramma();
}

Answer escapeAnswer(Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::YesNo:
        return Answer::No;
    case Buttons::AbortRetryIgnore:
        return Answer::Abort;
    default:
        return Answer::Cancel;
    }
}

Answer firstAnswer(Buttons buttons) {
    switch (buttons) {
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        return Answer::Yes;
    case Buttons::RetryCancel:
        return Answer::Retry;
    case Buttons::AbortRetryIgnore:
        return Answer::Abort;
    default:
        return Answer::Ok;
    }
}

} // namespace ui
