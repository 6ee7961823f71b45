#!/usr/bin/env python3
"""Fails where the code's names break the naming rule.

Names the design gives (docs/glossary.md, "The design's names") stay as they
are; private methods are German verbs; every other name is English. A name is
taken for German where one of its words is in GERMAN below or it holds an
umlaut. Each German name that is neither the design's nor a private method's
is listed with its file and line.
"""
import pathlib
import re
import sys

GERMAN = set('''
aendere aktuell allen anfragen anzahl anzeige anzeigen arbeite atome auswahl baue beende befehle beginne
beiseite bekannt bekannter benenne beobachte berechne besitzer bestimme bewegt bilder bildschirm bitte
blaetter datei dialoge drucke drucker eigenes ende entferne entscheide erster erstes erwartet fehler feld
fenster finde fokus folge frage gehe geoeffnet gerettet gezeigt gezeigte gib herkunft hole inhalt ist
kanal kenne kinder knoepfe kopie lade leere lese letzter mach maske melde meldet menue merke messe
minimierung mische nachname neu nicht nimm noetig oeffne ordner passe passt platz pruefe raender rahmen
reagiere reihenfolge reiter rette richte rolle ruhig sage sammle schliesse schreibe schreiben
schreibfehler schriften seite seiten setze sichere sichern spaeter speichere speichern sperre stelle
suche suchwort tastatur tasten teilseite tipp treffer unten verbinde vergiss vergleiche voll vor waehle
warte weiter wende wenn zeichen zeichne zeige zurueck
'''.split())

IDENTIFIER = re.compile(r'\b[A-Za-z_\u00c0-\u00ff][A-Za-z0-9_\u00c0-\u00ff]*\b')
ACCESS = re.compile(r'^\s*(public|protected|private)\s*:', re.M)
CLASS = re.compile(r'^\s*(?:class|struct)\s+(\w+)[^;{]*\{', re.M)


def german(name):
    if re.search(r'[\u00c0-\u00ff]', name):
        return True
    return any(word.lower() in GERMAN for word in re.findall(r'[A-Z]?[a-z]+', name))


def without_comments_and_strings(text):
    # Kept line for line, so that lines can be told.
    def blank(match):
        return re.sub(r'[^\n]', ' ', match.group(0))
    text = re.sub(r'//[^\n]*|/\*.*?\*/', blank, text, flags=re.S)
    return re.sub(r'"(?:\\.|[^"\\\n])*"|\'(?:\\.|[^\'\\\n])*\'', blank, text)


def design_names(glossary):
    text = glossary.read_text(encoding='utf-8')
    section = text.split("## The design's names", 1)[1].split('\n## ', 1)[0]
    names = set()
    for cell in re.findall(r'`([^`]+)`', section):
        names.update(re.findall(r'[A-Za-z_\u00c0-\u00ff][\w\u00c0-\u00ff]*', cell))
    return names


def private_methods(sources):
    """Names of methods declared in a private section of a class, in a
    header or in a class a source file keeps to itself."""
    found = set()
    for path, text in sources:
        for match in CLASS.finditer(text):
            depth, i, access = 1, match.end(), 'private' if 'class' in match.group(0).split()[0] else 'public'
            body_start = i
            while i < len(text) and depth:
                depth += {'{': 1, '}': -1}.get(text[i], 0)
                i += 1
            body = text[body_start:i]
            pieces = ACCESS.split(body)
            sections = [(access, pieces[0])] + list(zip(pieces[1::2], pieces[2::2]))
            for kind, part in sections:
                if kind == 'private':
                    # Only what the class itself declares, not nested bodies.
                    found.update(re.findall(r'(\w+)\s*\([^;{}]*\)\s*(?:const\s*)?(?:noexcept\s*)?[;{]', part))
    return found


def main(root):
    root = pathlib.Path(root).resolve()
    files = sorted(p for p in (root / 'src').rglob('*') if p.suffix in ('.h', '.cpp'))
    texts = [(p, without_comments_and_strings(p.read_text(encoding='utf-8'))) for p in files]
    allowed = design_names(root / 'docs' / 'glossary.md') | private_methods(texts)
    problems = []
    for path, text in texts:
        for number, line in enumerate(text.split('\n'), 1):
            for name in IDENTIFIER.findall(line):
                if not german(name) or name in allowed:
                    continue
                # A handler of a design's control or entry: Möffnen_Click.
                if any(part in allowed for part in name.split('_')):
                    continue
                problems.append(f'{path.relative_to(root)}:{number}: "{name}" is German, but no private '
                                'method and not among the design\'s names (docs/glossary.md)')
    for problem in sorted(set(problems)):
        print(problem)
    print(f'{len(files)} files checked, {len(set(problems))} German names out of place')
    return 1 if problems else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else '.'))
