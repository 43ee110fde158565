// The menu bar and the window's keyboard shortcuts. Each menu is a button that discloses a list of
// command buttons; like the desktop's menus they never take the focus from the calculator's controls when
// used with the mouse, and a command runs once its menu has closed and the focus is back where it was.
"use strict";

const VornMenus = (() => {
    const byId = (id) => document.getElementById(id);
    let menus = [];
    let open = null;
    let returnTo = null;
    let commands = {};
    let tabOnward = null;

    function items(menu) {
        return Array.from(menu.list.querySelectorAll("button")).filter((item) => !item.disabled);
    }

    function openMenu(menu, focusFirst) {
        const before = document.activeElement;
        closeMenu(false);
        returnTo = before;
        menu.list.hidden = false;
        menu.button.setAttribute("aria-expanded", "true");
        open = menu;
        if (focusFirst) {
            const first = items(menu)[0];
            if (first)
                VornFocus.move(first, "menu");
        }
    }

    // `restore`: the focus goes back to where it was before the menu opened (its button, if that was
    // nowhere in particular).
    function closeMenu(restore) {
        if (!open)
            return;
        const menu = open;
        open = null;
        menu.list.hidden = true;
        menu.button.setAttribute("aria-expanded", "false");
        const inside = menu.list.contains(document.activeElement);
        if (restore || inside) {
            const back =
                returnTo && returnTo.isConnected && !returnTo.disabled && returnTo !== document.body &&
                !menu.list.contains(returnTo)
                    ? returnTo
                    : menu.button;
            VornFocus.move(back, "restore");
        }
        returnTo = null;
    }

    function menuOf(element) {
        return menus.find((menu) => menu.button === element || menu.list.contains(element)) || null;
    }

    function onButtonClick(menu, event) {
        if (open === menu) {
            closeMenu(true);
            return;
        }
        // A click from the keyboard (Enter, Space, an access key) has no mouse position behind it.
        openMenu(menu, event.detail === 0);
    }

    function onItemClick(item) {
        const run = commands[item.id];
        closeMenu(true);
        if (run)
            run();
    }

    function onMenuKey(event) {
        if (!open)
            return;
        const inList = open.list.contains(event.target);
        const all = items(open);
        const at = all.indexOf(event.target);
        let next = null;
        switch (event.key) {
        case "Escape":
            event.preventDefault();
            event.stopPropagation();
            closeMenu(true);
            return;
        case "ArrowDown":
            next = all[(at + 1) % all.length];
            break;
        case "ArrowUp":
            next = all[(at - 1 + all.length) % all.length];
            break;
        case "Home":
            next = inList ? all[0] : null;
            break;
        case "End":
            next = inList ? all[all.length - 1] : null;
            break;
        case "Tab":
            if (inList) {
                // Tab leaves the menu as it would leave its button.
                event.preventDefault();
                event.stopPropagation();
                const button = open.button;
                closeMenu(false);
                tabOnward(button, event.shiftKey);
            }
            return;
        default:
            return;
        }
        if (next) {
            event.preventDefault();
            VornFocus.move(next, "menu");
        }
    }

    function onButtonKey(menu, event) {
        if (event.key === "ArrowDown" && open !== menu) {
            event.preventDefault();
            openMenu(menu, true);
        }
    }

    // The window's shortcuts, whichever control has the focus. Ctrl+N belongs to the browser (a new
    // window), so New Character is Alt+N. Ctrl+P is the page's (Plan Ahead) rather than the browser's
    // printing, in its dialogs too, where it does nothing.
    function commandFor(event) {
        const ctrl = (event.ctrlKey || event.metaKey) && !(event.ctrlKey && event.metaKey);
        const letter = event.key && event.key.length === 1 ? event.key.toLowerCase() : "";
        if (ctrl && !event.altKey) {
            if (!event.shiftKey) {
                switch (letter) {
                case "a": return "mnuAddBlankets";
                case "r": return "mnuCalculateBlankets";
                case "o": return "mnuOpen";
                case "s": return "mnuSave";
                case "z": return "mnuUndo";
                case "y": return "mnuRedo";
                case "h": return "mnuHistory";
                case "p": return "mnuPlan";
                default: return null;
                }
            }
            switch (letter) {
            case "z": return "mnuRedo";
            case "c": return "mnuCopyResults";
            default: return null;
            }
        }
        if (event.altKey && !ctrl && !event.shiftKey && (letter === "n" || event.code === "KeyN"))
            return "mnuNew";
        return null;
    }

    function onShortcut(event) {
        if (event.isComposing)
            return;
        const id = commandFor(event);
        if (VornDialogs.anyOpen()) {
            if (id === "mnuPlan")
                event.preventDefault();
            return;
        }
        if (!id)
            return;
        // While a box has typing to undo or redo, Ctrl+Z and Ctrl+Y are its own, as in any editor.
        const box = event.target;
        if (id === "mnuUndo" && commands.typingUndoes && commands.typingUndoes(box))
            return;
        if (id === "mnuRedo" && commands.typingRedoes && commands.typingRedoes(box))
            return;
        event.preventDefault();
        event.stopPropagation();
        const item = byId(id);
        if (item.disabled || (event.repeat && id !== "mnuUndo" && id !== "mnuRedo"))
            return;
        closeMenu(open && open.list.contains(document.activeElement));
        commands[id]();
    }

    // `handlers`: the command for each menu item's id, plus typingUndoes(box) and typingRedoes(box);
    // `onward(button, backwards)`: Tab from a menu's list carries on from its button.
    function init(handlers, onward) {
        commands = handlers;
        tabOnward = onward;
        menus = Array.from(document.querySelectorAll(".menubar .menu-list")).map((list) => ({
            // mnuFileMenu is the list of mnuFile, and so on.
            button: byId(list.id.replace(/Menu$/, "")),
            list,
        }));
        for (const menu of menus) {
            menu.button.addEventListener("click", (event) => onButtonClick(menu, event));
            menu.button.addEventListener("keydown", (event) => onButtonKey(menu, event));
            for (const item of menu.list.querySelectorAll("button"))
                item.addEventListener("click", () => onItemClick(item));
        }
        const about = byId("mnuAbout");
        about.addEventListener("click", () => {
            closeMenu(false);
            commands.mnuAbout();
        });
        document.addEventListener("keydown", onMenuKey, true);
        window.addEventListener("keydown", onShortcut, true);
        document.addEventListener(
            "mousedown",
            (event) => {
                if (event.target.closest && event.target.closest(".menubar")) {
                    // The menus never take the focus from a control by the mouse, as on the desktop.
                    event.preventDefault();
                }
                if (open && !menuOf(event.target))
                    closeMenu(false);
            },
            true);
        document.addEventListener("focusin", (event) => {
            if (open && !menuOf(event.target) && !VornDialogs.anyOpen())
                closeMenu(false);
        });
    }

    return { init, close: () => closeMenu(false), isMenuBar: (element) => !!element.closest(".menubar") };
})();
