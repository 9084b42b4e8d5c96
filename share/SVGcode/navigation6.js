// Kvora chart navigation.
//
// A chart's navigation-data block registers its persons and families here,
// under the chart's instance letter:
//   nd_index[inst] = { title, persons, families, sex, personalNames,
//                      parentFam, spouseFam, famParents, famChildren,
//                      colours, dims }
// persons and families map keys to positions; the arrays are indexed by
// those positions. This script answers questions about relatives, moves the
// view to a person and highlights a person's or a family's relatives, and
// leads to the other charts that show a person (showTreeLinks, from the
// person's TreeLink and TreeLinkV program data).
'use strict';

var nd_index = window.nd_index || {};
window.nd_index = nd_index;

// Numeric character references (the chart writer encodes every character
// outside plain ASCII that way) turned back into characters.
function nd_decode(text) {
    return String(text).replace(/&#(x[0-9a-fA-F]+|[0-9]+);/g, function (all, num) {
        var code = num[0] === 'x' ? parseInt(num.slice(1), 16) : parseInt(num, 10);
        return code > 0xFFFF ? String.fromCodePoint(code) : String.fromCharCode(code);
    });
}

function nd_has(map, key) {
    return Object.prototype.hasOwnProperty.call(map, key);
}

function nd_keyAt(map, pos) {
    for (var k in map) {
        if (nd_has(map, k) && map[k] === pos) return k;
    }
    return null;
}

// Everything the navigation data says about one person, or null.
function nd_person(inst, key) {
    var nd = nd_index[inst];
    if (!nd || !nd_has(nd.persons, key)) return null;
    var pos = nd.persons[key];
    return {
        key: key,
        pos: pos,
        sex: 'fmux'.charAt(nd.sex[pos]),
        names: nd_decode(nd.personalNames[pos] || ''),
        parentFam: nd_keyAt(nd.families, nd.parentFam[pos]),
        spouseFams: (nd.spouseFam[pos] || []).map(function (f) { return nd_keyAt(nd.families, f); })
            .filter(function (k) { return k !== null; })
    };
}

// The two parents (father first) and the children of a family, as keys.
function nd_family(inst, key) {
    var nd = nd_index[inst];
    if (!nd || !nd_has(nd.families, key)) return null;
    var pos = nd.families[key];
    var keyOf = function (p) { return nd_keyAt(nd.persons, p); };
    return {
        key: key,
        pos: pos,
        parents: (nd.famParents[pos] || []).map(keyOf).filter(function (k) { return k !== null; }),
        children: (nd.famChildren[pos] || []).map(keyOf).filter(function (k) { return k !== null; })
    };
}

// A person's relatives: parents, spouses (with the family they share) and
// children, each a list of person keys.
function nd_relatives(inst, key) {
    var rel = { parents: [], spouses: [], children: [], families: [] };
    var p = nd_person(inst, key);
    if (!p) return rel;
    if (p.parentFam !== null) {
        rel.parents = nd_family(inst, p.parentFam).parents;
    }
    p.spouseFams.forEach(function (fk) {
        var f = nd_family(inst, fk);
        rel.families.push(fk);
        f.parents.forEach(function (s) {
            if (s !== key && rel.spouses.indexOf(s) < 0) rel.spouses.push(s);
        });
        f.children.forEach(function (c) {
            if (rel.children.indexOf(c) < 0) rel.children.push(c);
        });
    });
    return rel;
}

// The drawn element of a person (its box) or of a family (its circle).
function nd_element(type, inst, key) {
    if (type === 'F') return document.getElementById('F' + inst + '-' + key);
    var group = document.getElementById('P' + inst + '-' + key);
    return group ? (group.querySelector('use[tabindex]') || group) : null;
}

// Highlight marks: a class for scripts and style sheets to find, and an
// inline stroke so that they show whatever the chart's own styles say.
var nd_marks = {
    'nd-focus': { stroke: '#d2691e', width: '4px' },
    'nd-related': { stroke: '#1e90ff', width: '3px' },
    'nd-family': { stroke: '#1e90ff', width: '3px' }
};

function nd_clearHighlight() {
    Object.keys(nd_marks).forEach(function (cls) {
        Array.prototype.slice.call(document.getElementsByClassName(cls)).forEach(function (e) {
            e.classList.remove(cls);
            e.style.removeProperty('stroke');
            e.style.removeProperty('stroke-width');
        });
    });
}

function nd_mark(type, inst, key, cls) {
    var e = nd_element(type, inst, key);
    if (!e) return;
    e.classList.add(cls);
    e.style.setProperty('stroke', nd_marks[cls].stroke);
    e.style.setProperty('stroke-width', nd_marks[cls].width);
}

// Highlights a person with parents, spouses, children and the family
// circles between them, or a family with its parents and children.
function nd_highlightFamily(inst, type, key) {
    nd_clearHighlight();
    if (type === 'F') {
        var f = nd_family(inst, key);
        if (!f) return;
        nd_mark('F', inst, key, 'nd-focus');
        f.parents.concat(f.children).forEach(function (k) { nd_mark('P', inst, k, 'nd-related'); });
        return;
    }
    var rel = nd_relatives(inst, key);
    nd_mark('P', inst, key, 'nd-focus');
    rel.parents.concat(rel.spouses, rel.children).forEach(function (k) { nd_mark('P', inst, k, 'nd-related'); });
    var p = nd_person(inst, key);
    if (p && p.parentFam !== null) nd_mark('F', inst, p.parentFam, 'nd-family');
    rel.families.forEach(function (fk) { nd_mark('F', inst, fk, 'nd-family'); });
}

// Brings a person's box (or a family's circle) into the middle of the view:
// pans a pan-and-zoom chart, scrolls any other. Returns false when the
// chart does not show that person.
function nd_goto(inst, key, type) {
    type = type || 'P';
    var e = nd_element(type, inst, key);
    if (!e) return false;
    var pz = window['tp_panZoomTree' + inst];
    if (pz && typeof pz.panBy === 'function') {
        var r = e.getBoundingClientRect();
        var v = e.ownerSVGElement.getBoundingClientRect();
        pz.panBy({
            x: (v.left + v.width / 2) - (r.left + r.width / 2),
            y: (v.top + v.height / 2) - (r.top + r.height / 2)
        });
    } else if (e.scrollIntoView) {
        e.scrollIntoView({ block: 'center', inline: 'center' });
    }
    if (e.focus) e.focus({ preventScroll: true });
    nd_highlightFamily(inst, type, key);
    return true;
}

// The file of a linked chart, relative to this one. A TreeLinkV row names
// the chart of another viewpoint of this tree by its base name, without
// extension: that chart lies beside this one and has its extension. A
// TreeLink row names any chart; one named without an extension (as the
// charts of a viewpoint are named) is of the same kind as this one.
function nd_linkHref(file, target, generated) {
    var href = generated ? encodeURIComponent(file.replace(/^.*[\\/]/, '')) : file;
    var name = href.replace(/[?#].*$/, '').replace(/^.*[\\/]/, '');
    if (name && name.indexOf('.') < 0) {
        var ext = /\.[^./]*$/.exec(location.pathname);
        href += ext ? ext[0] : '';
    }
    return target ? href + '#' + encodeURIComponent(target) : href;
}

// The other charts that show a person: { name, label, href } each, once
// for each place they lead to, whichever kinds of program data lead there.
function nd_treeLinks(type, inst, key) {
    if (typeof programData !== 'function') return [];
    var links = [];
    var seen = {};
    ['TreeLink', 'TreeLinkV'].forEach(function (kind) {
        programData(type, inst, key, kind).forEach(function (v) {
            if (!v[2]) return;
            var href = nd_linkHref(v[2], v[3] || '', kind === 'TreeLinkV');
            if (nd_has(seen, href)) return;
            seen[href] = true;
            links.push({ viewpoint: v[0] || '', name: v[1] || v[2], label: v[4] || '', href: href });
        });
    });
    return links;
}

// LinkedTrees: lists the other charts that show the person; following a
// link opens that chart centred on the linked box.
function showTreeLinks(ev, type, inst, key) {
    var links = nd_treeLinks(type, inst, key);
    if (typeof tp_openPanel !== 'function') {
        if (links.length) location.href = links[0].href;
        return;
    }
    var body = tp_openPanel(ev, type, inst, key);
    var section = tp_section(body, 'nd-tree-links', 'Other charts');
    if (!links.length) {
        section.appendChild(tp_el('i', {}, 'This person is in no other chart.'));
        return;
    }
    tp_treeLinkLines(section, links);
}

// A chart opened with the id of a box after "#" (as the links between
// charts do) starts centred on that person or family.
window.addEventListener('load', function () {
    var hash;
    try {
        hash = decodeURIComponent(location.hash);
    } catch (e) {
        return;
    }
    var m = /^#([PF])(.*?)-(.+)$/.exec(hash);
    if (m) nd_goto(m[2], m[3], m[1]);
});
