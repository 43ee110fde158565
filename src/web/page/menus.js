// @ts-check
// The menu bar and the window's keyboard shortcuts. Each menu is a button that discloses a list of
// command buttons; like the desktop's menus they never take the focus from the calculator's controls when
// used with the mouse, and a command runs once its menu has closed and the focus is back where it was.
import * as VornDialogs from "./dialogs.js";
import { VornFocus, byId } from "./focus.js";

/**
 * @typedef {{button: HTMLButtonElement, list: HTMLElement}} Menu
 * @typedef {{[command: string]: (box?: EventTarget | null) => unknown}} Handlers the command for each
 *     menu item's id, typingUndoes(box) and typingRedoes(box): whether a box has typing to undo or redo,
 *     and showOffered(): shows only the commands the browser allows now
 */

/** @type {Menu[]} */
let menus = [];
/** @type {Menu | null} */
let open = null;
/** @type {Element | null} */
let returnTo = null;
/** @type {Handlers} */
let commands = /** @type {any} */ ({});
/** @type {(button: HTMLElement, backwards: boolean) => void} */
let tabOnward = () => {};
/** @type {(press: import("./keys.js").Press) => string | null} */
let commandFor = () => null;

// A command the browser does not allow is not in its menu at all.
/** @param {HTMLButtonElement} item */
const offered = (item) => !(/** @type {HTMLElement} */ (item.parentElement)).hidden;

/** @param {Menu} menu */
function items(menu) {
    return Array.from(menu.list.querySelectorAll("button")).filter((item) => !item.disabled && offered(item));
}

/** @param {Menu} menu @param {boolean} focusFirst */
function openMenu(menu, focusFirst) {
    const before = document.activeElement;
    closeMenu(false);
    returnTo = before;
    commands.showOffered?.();
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
/** @param {boolean} restore */
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
            returnTo instanceof HTMLElement && returnTo.isConnected && !("disabled" in returnTo && returnTo.disabled) &&
            returnTo !== document.body && !menu.list.contains(returnTo)
                ? returnTo
                : menu.button;
        VornFocus.move(back, "restore");
    }
    returnTo = null;
}

/** @param {Node} element */
function menuOf(element) {
    return menus.find((menu) => menu.button === element || menu.list.contains(element)) || null;
}

/** @param {Menu} menu @param {MouseEvent} event */
function onButtonClick(menu, event) {
    if (open === menu) {
        closeMenu(true);
        return;
    }
    // A click from the keyboard (Enter, Space, an access key) has no mouse position behind it.
    openMenu(menu, event.detail === 0);
}

/** @param {HTMLElement} item */
function onItemClick(item) {
    const run = commands[item.id];
    closeMenu(true);
    if (run)
        run();
}

/** @param {KeyboardEvent} event */
function onMenuKey(event) {
    if (!open)
        return;
    const target = /** @type {HTMLButtonElement} */ (event.target);
    const inList = open.list.contains(target);
    const all = items(open);
    const at = all.indexOf(target);
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

/** @param {Menu} menu @param {KeyboardEvent} event */
function onButtonKey(menu, event) {
    if (event.key === "ArrowDown" && open !== menu) {
        event.preventDefault();
        openMenu(menu, true);
    }
}

// The window's shortcuts, whichever control has the focus. Ctrl+P is the page's (Plan Ahead) rather than
// the browser's printing, in its dialogs too, where it does nothing.
/** @param {KeyboardEvent} event */
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
    const item = byId(id, HTMLButtonElement);
    commands.showOffered?.();
    // The keys of a command the browser does not allow stay the browser's.
    if (!offered(item))
        return;
    event.preventDefault();
    event.stopPropagation();
    if (item.disabled || (event.repeat && id !== "mnuUndo" && id !== "mnuRedo"))
        return;
    closeMenu(!!open && open.list.contains(document.activeElement));
    commands[id]();
}

// `handlers`: the command for each menu item's id, plus typingUndoes(box) and typingRedoes(box);
// `onward(button, backwards)`: Tab from a menu's list carries on from its button.
/**
 * @param {Handlers} handlers
 * @param {(button: HTMLElement, backwards: boolean) => void} onward
 * @param {(press: import("./keys.js").Press) => string | null} shortcuts what a key press runs
 */
export function init(handlers, onward, shortcuts) {
    commands = handlers;
    tabOnward = onward;
    commandFor = shortcuts;
    menus = Array.from(document.querySelectorAll(".menubar .menu-list")).map((list) => ({
        // mnuFileMenu is the list of mnuFile, and so on.
        button: byId(list.id.replace(/Menu$/, ""), HTMLButtonElement),
        list: /** @type {HTMLElement} */ (list),
    }));
    for (const menu of menus) {
        menu.button.addEventListener("click", (event) => onButtonClick(menu, event));
        menu.button.addEventListener("keydown", (event) => onButtonKey(menu, event));
        for (const item of Array.from(menu.list.querySelectorAll("button")))
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
            const target = /** @type {Element} */ (event.target);
            if (target.closest && target.closest(".menubar")) {
                // The menus never take the focus from a control by the mouse, as on the desktop.
                event.preventDefault();
            }
            if (open && !menuOf(target))
                closeMenu(false);
        },
        true);
    document.addEventListener("focusin", (event) => {
        if (open && !menuOf(/** @type {Node} */ (event.target)) && !VornDialogs.anyOpen())
            closeMenu(false);
    });
}

export const close = () => closeMenu(false);

/** @param {Element} element */
export const isMenuBar = (element) => !!element.closest(".menubar");
