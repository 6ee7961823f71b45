#include "TrayReaction.h"

TrayReaction trayReaction(TrayActivation activation, TrayHost host)
{
    switch (activation) {
    case TrayActivation::DoubleClick:
        return TrayReaction::ShowWindow;
    case TrayActivation::Click:
        return host == TrayHost::StatusNotifier ? TrayReaction::ShowWindow : TrayReaction::Nothing;
    case TrayActivation::Context:
    case TrayActivation::MiddleClick:
    case TrayActivation::Other:
        break;
    }
    return TrayReaction::Nothing;
}
