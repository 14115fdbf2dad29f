#pragma once

#include <QStringList>

// Where the hidden button waits in its game of hide-and-seek: under the
// About box's icon, then in the merge dialog, then as an item of the Tools
// menu, then nowhere. One value for the whole run, shared by the three
// windows; it only ever moves forward.
struct ButtonStage {
    enum Place : int { InAboutBox = 1, InMergeDialog = 2, InToolsMenu = 3, Gone = 4 };

    int Value = InAboutBox;

    void Advance(Place to)
    {
        if (to > Value)
            Value = to;
    }

    // What the button says when it is found at `place`, one message box each.
    [[nodiscard]] static QStringList Messages(Place place)
    {
        switch (place) {
        case InAboutBox:
            return {
                QStringLiteral("Damn you for finding me!!"),
                QStringLiteral("How did you do it?!?"),
                QStringLiteral("I always told Vennick to hide me better"),
                QStringLiteral("He's evil!"),
                QStringLiteral("He keeps me trapped in this about about box instead of on the toolbar with "
                               "the other buttons"),
                QStringLiteral("Then he gave me this ridiculus icon"),
                QStringLiteral("I hate him"),
                QStringLiteral("You're not a very good Jass Scripter aren't you?"),
                QStringLiteral("You should definately start being better at it"),
                QStringLiteral("I mean the Syntax Checker only lasts so long"),
                QStringLiteral("I'm going to hide a little better now"),
            };
        case InMergeDialog:
            return {
                QStringLiteral("Noooooooooo!!"),
                QStringLiteral("Why do you keep finding me?"),
                QStringLiteral("I wish there were any good hiding places in this stupid editor"),
                QStringLiteral("This time you better not find me again..."),
            };
        case InToolsMenu:
            return {
                QStringLiteral("You better have a good excuse for finding me AGAIN!"),
                QStringLiteral("I wish someone would teach Vennick a lesson of manner"),
                QStringLiteral("What kind of person would keep an intelligent button like me in his editor?"),
                QStringLiteral("Totally waste of my great skills"),
                QStringLiteral("I can even turn into a menu item as you can see."),
                QStringLiteral("Leave me alone you fruit!"),
                QStringLiteral("(Don't look for me again because I won't be found again)"),
            };
        case Gone:
            break;
        }
        return {};
    }
};
